#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "board/board.h"
#include "board/move_text.h"
#include "board/refusal.h"
#include "board/square_marks.h"
#include "control/animation.h"
#include "control/board_settings.h"
#include "control/capabilities.h"
#include "control/host.h"
#include "control/members.h"
#include "control/property_bag.h"
#include "entry/click_entry.h"
#include "entry/keyboard_entry.h"
#include "entry/keyboard_focus.h"
#include "view/forms.h"
#include "view/surface.h"
#include "view/text_cell.h"

namespace velmora {

// The write of a member, at a depth of nested member writes, that sends no property-changed
// notice: a load's own.
struct QuietWrite {
  const Member* member = nullptr;
  int depth = 0;
};

// The control a host holds. It owns the position, the three text cells, the click entry and
// the surface model, and reaches the platform only through its ports.
//
// The string properties are the texts of the cells: PutPosition is the position cell (its change
// loads a position), PutMove the host's move cell (its change applies a host move), GetMove the
// move display's cell (its change raises Change). Every member takes a strong reference to the
// control first, so a host that lets go of it inside an event handler does not pull it away
// from under a running procedure.
class BoardControl final : public std::enable_shared_from_this<BoardControl>, private MoveListener {
 public:
  // Creates an instance of a class (a UserControl1 unless told) and runs InitControl. The
  // ports must outlive it.
  static std::shared_ptr<BoardControl> Create(
      FormsPort& forms, HostPort& host, ControlClass control_class = ControlClass::kUserControl1);
  // The same with ports the control co-owns: a front end that may be destroyed while the core
  // runs (inside the prompt's wait, say) shares them, so they live as long as the control
  // still needs them; the front end detaches them instead of freeing them.
  static std::shared_ptr<BoardControl> Create(
      std::shared_ptr<FormsPort> forms, std::shared_ptr<HostPort> host,
      ControlClass control_class = ControlClass::kUserControl1);

  BoardControl(const BoardControl&) = delete;
  BoardControl& operator=(const BoardControl&) = delete;

  // The members a host sees (control/member_rows.h lists them; control/members.h reaches them
  // by name). The first class's: a read returns the cell's text; a write sets the cell (its
  // handler runs to its end inside) and then sends the property-changed notice, also when the
  // text was unchanged; a UserControl1 never refuses. A ChessBoard refuses a PutPosition text
  // that is not a position, as it refuses a bad Fen, and acts on every PutMove write, also of
  // the text the cell holds.
  bool Enabled() const;
  Refused Enabled(bool New_Enabled);
  std::u16string GetMove() const;
  Refused GetMove(std::u16string New_GetMove);
  std::u16string PutMove() const;
  Refused PutMove(std::u16string New_PutMove);
  std::u16string PutPosition() const;
  Refused PutPosition(std::u16string New_PutPosition);

  // A ChessBoard's. A write that is taken sends the property-changed notice; a text that
  // does not parse, a number out of range, or any write on a UserControl1 is refused and
  // changes nothing. LegalMoves reads back in move-text form, Marks and UserMarks as game
  // records write them, Fen as the board's placement field; a Fen write loads the position
  // through the position cell.
  bool DragEnabled() const { return settings_.drag_enabled; }
  Refused DragEnabled(bool value);
  std::u16string LegalMoves() const;
  Refused LegalMoves(std::u16string_view text);
  bool ShowLegalMoves() const { return settings_.show_legal_moves; }
  Refused ShowLegalMoves(bool value);
  std::int32_t Orientation() const { return settings_.orientation; }
  Refused Orientation(std::int32_t value);
  std::u16string LastMove() const;
  Refused LastMove(std::u16string_view text);
  bool ShowLastMove() const { return settings_.show_last_move; }
  Refused ShowLastMove(bool value);
  std::u16string CheckSquare() const;
  Refused CheckSquare(std::u16string_view text);
  std::u16string Marks() const { return SquareMarksText(settings_.marks); }
  Refused Marks(std::u16string_view text);
  std::u16string UserMarks() const { return SquareMarksText(settings_.user_marks); }
  Refused UserMarks(std::u16string_view text);
  std::int32_t AnimationTime() const { return settings_.animation_time; }
  Refused AnimationTime(std::int32_t value);
  std::u16string Fen() const;
  Refused Fen(std::u16string_view text);
  // The look: a theme's square colours, either colour set over it until Theme is written again
  // (reading gives the colour in use), and where the coordinates are drawn.
  std::int32_t Theme() const { return settings_.theme; }
  Refused Theme(std::int32_t value);
  std::int32_t LightSquareColor() const { return ColourValue(SquareColoursInUse().light); }
  Refused LightSquareColor(std::int32_t value);
  std::int32_t DarkSquareColor() const { return ColourValue(SquareColoursInUse().dark); }
  Refused DarkSquareColor(std::int32_t value);
  std::int32_t Coordinates() const { return settings_.coordinates; }
  Refused Coordinates(std::int32_t value);
  // Setting up a position: spare pieces beside the board, pieces put, moved and taken off with
  // no rule, each gesture raising PositionEdited. Leaving it keeps the position.
  bool EditMode() const { return settings_.edit_mode; }
  Refused EditMode(bool value);

  ControlClass control_class() const { return control_class_; }

  // Repaints what the squares already show; never rebuilds them from the board.
  void Refresh();

  // Loads the class's saved members in their saved order (control/member_rows.h), without
  // property-changed notices: the first class's four each as it is read; a ChessBoard's others
  // are all read and checked first, then applied, so a bad one changes none of them. A value
  // that cannot be converted, or a number out of its range, ends the load there with a Failure.
  // Saving writes the same names in the same order.
  void LoadProperties(PropertyBag& bag);
  void SaveProperties(PropertyBag& bag);

  // Input the platform delivers; all of it is ignored while the surface is disabled. A mouse
  // click on a square or choice also moves the focus square there, without the focus mark.
  void ClickSquare(std::int16_t n);
  void ClickChoice(std::int16_t k);
  // A click off the board and its choices; it closes the chooser too.
  void SurfaceClick();
  void SurfaceDblClick();
  // Closes the promotion chooser, where it is shown, dropping its move (a right press).
  void CloseChooser();
  // Raises KeyDown, then hands the key the host left to the keyboard entry (a KeyCode of 0 is
  // a key the host took). True when the control acted on it.
  bool SurfaceKeyDown(std::int16_t& KeyCode, std::int16_t& Shift);
  void SurfaceKeyPress(std::int16_t& KeyAscii);
  void SurfaceKeyUp(std::int16_t& KeyCode, std::int16_t& Shift);
  void SurfaceMouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void SurfaceMouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void SurfaceMouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  // A key the control would act on now, so a container gives it to the control first.
  bool TakesKey(std::int16_t key_code, std::int16_t shift) const {
    return surface_.Enabled() &&
           (keys_.Takes(key_code, shift) || (settings_.edit_mode && IsEditKey(key_code, shift)));
  }
  // Dragging a piece, where the class lets it (DragEnabled). The pointer is in twips from the
  // surface's corner. Lifting is a pick (the first click's, with its Change) unless the piece is
  // the one already picked; false when the piece may not be dragged (nothing there, another
  // piece picked, a piece the legal moves leave out, the prompt waiting). A drop on another
  // square is that square's destination click; on its own square, or a cancel, leaves the
  // piece picked with nothing raised. Escape cancels a drag too.
  bool BeginDrag(std::int16_t n, std::int32_t x, std::int32_t y);
  void DragTo(std::int32_t x, std::int32_t y);
  void Drop(std::int16_t n);
  void CancelDrag();
  // A drag released off the board: in edit mode a board piece is taken off; otherwise, and for
  // a spare piece, a cancel.
  void DropOffBoard();

  // Edit mode's spare pieces (places as view/spare_pieces.h numbers them). A click arms a place
  // for square clicks, or disarms it when it is the armed one; a drag lifts a copy of its piece.
  // Nothing happens outside edit mode, while the surface is disabled, or (a drag) on the eraser.
  void ClickSpare(std::int16_t place);
  bool BeginSpareDrag(std::int16_t place, std::int32_t x, std::int32_t y);

  // A person's own marks, drawn with the right button on a ChessBoard (nothing on a
  // UserControl1, or while the surface is disabled). Drawing a mark that UserMarks holds takes
  // it away; one on the same squares in another colour takes the new colour; any other is
  // added. Each change is announced and raises MarksChanged; a host's write of UserMarks
  // raises nothing (the host knows what it wrote). Clearing marks that are not there changes
  // nothing and raises nothing.
  void DrawUserMark(const SquareMark& mark);
  void ClearUserMarks();

  // The animation clock, in milliseconds from any origin the front end keeps. Moves and loads
  // queue slides (see Timeline); the front end advances the clock when NextTickAt says and
  // repaints what the surface reports.
  void Advance(std::int64_t now_ms);
  std::optional<std::int64_t> NextTickAt() const { return timeline_.NextTickAt(); }
  // Puts every sliding piece where it is going, for a front end that stops its clock.
  void LandSlides();

  // The surface gained or lost the keyboard focus.
  void SurfaceFocus(bool has_focus);

  // What assistive technology asks for, by part (see view/accessible_parts.h). Moving the focus
  // there counts as navigation; activating a part is the click a person's Space would make.
  void FocusPart(std::int16_t part);
  void ActivatePart(std::int16_t part);

  // Read-only views for the platforms and for tests.
  const Board& board() const { return board_; }
  const Surface& surface() const { return surface_; }
  const EntryFields& entry() const { return entry_.Fields(); }
  EntryState entry_state() const { return entry_.State(); }
  const KeyboardFocus& focus() const { return focus_; }
  void SetSurfaceObserver(SurfaceObserver* observer) { surface_.SetObserver(observer); }

 private:
  BoardControl(std::shared_ptr<FormsPort> forms, std::shared_ptr<HostPort> host,
               ControlClass control_class);

  // The answer to a write of a member the class lacks: a refusal, else nothing.
  Refused Gate(MemberId id) const;
  // Why a class that shows no message box refuses a position text; nothing for a good one.
  static Refused RefusedPosition(std::u16string_view text);
  // Stores a value and sends the notice, unless the gate refuses.
  template <typename Store>
  Refused Set(MemberId id, Store store);
  // Takes a parsed value: a refusal names the property, a value is stored and noticed.
  template <typename T, typename Store>
  Refused Take(MemberId id, Parsed<T> parsed, Store store);
  // Why a number is refused: the class lacks the member, or it lies outside its range.
  Refused RefusedNumber(MemberId id, std::int32_t value) const;
  // Stores a number within the member's range; a look member's is then shown.
  Refused TakeInRange(MemberId id, std::int32_t value, std::int32_t& field);
  Refused TakeLook(MemberId id, std::int32_t value, std::int32_t& field);
  // The property-changed notice, but for the write a load is making.
  void Notice(MemberId id);

  // Once, when the instance is created: nothing picked, the initial position. Paints nothing:
  // the squares are created showing it.
  void InitControl();
  void OnPositionText();  // the position cell changed
  void OnHostMove();      // the host's move cell changed
  void OnGetMove();       // the move display's cell changed
  // A load or a reset replaced the board (`before`, when it slides): shows it, slides what
  // moved, announces it and empties the position cell.
  void PositionReplaced(const std::optional<Board>& before);
  // Brings what the surface shows (orientation, last-move tint, check glow) into line with the
  // settings.
  void ShowSettings();
  // A move the host or a person made becomes the last move and ends any check; a position
  // load (a reset too) clears both.
  void MoveMade(MoveText move) override;
  void PositionLoaded();
  // The look's settings as the surface shows them.
  SquareColours SquareColoursInUse() const;
  void ShowLook();
  // The host's marks, then the person's, as the surface shows them.
  void ShowMarks();
  // Whether moves and loads animate, or slides are still on their way: inline, so the first
  // class's host move pays one test for it.
  bool Animating() const { return settings_.animation_time > 0 || !timeline_.Idle(); }
  // A host move about to be applied: lands the slides it touches and queues its own.
  void SlideHostMove(const MoveText& move);
  // The board changed from `before` by a load or a person's move: lands the slides on the
  // squares that changed and queues the pieces MatchTrips finds.
  void SlideChanges(const Board& before);
  // Runs a person's entry (a click, a key); a move it makes slides unless it is a drop, or the
  // host changed the board meanwhile (from inside the prompt's wait, say).
  template <class Entry>
  void Entered(Entry entry);

  // Edit mode's gestures (control/edits.cpp). A square click puts the armed place's piece, or
  // empties the square for the eraser; nothing without one.
  void EditClick(std::int16_t n);
  // Lifts a piece as it stands, with no pick: from square `from`, or from the spares (0).
  bool LiftSetUpPiece(std::int16_t from, char16_t cell, std::int32_t x, std::int32_t y);
  // The keys edit mode takes: piece letters, Delete and Backspace, Ctrl+C and Ctrl+V, Space and
  // Enter (a square click), Escape while a place is armed (disarms it).
  bool IsEditKey(std::int16_t key_code, std::int16_t shift) const;
  bool EditKey(std::int16_t key_code, std::int16_t shift);
  // Sets square n to `letter` (the empty cell empties it) as one gesture.
  void SetUpSquare(std::int16_t n, char16_t letter);
  // A dragged piece put down on square `to`: from square `from`, or from the spares (0).
  void DropSetUp(std::int16_t from, std::int16_t to);
  void CopyPosition();
  void PastePosition();
  // A gesture changed the board: shows it, forgets the last move, the check and the legal
  // moves, announces it and raises PositionEdited.
  void Edited(const Announcement& announcement);

  // Raise BeforeMove and AfterMove for a person's move.
  bool AllowsMove(Square from, Square to, char16_t promotion) override;
  void MoveCompleted(MoveText move, char16_t promotion) override;
  bool RaiseMoveEvent(EventId id, MoveText move, char16_t promotion);
  Refused WriteCell(TextCell& cell, std::u16string_view text, MemberId id,
                    bool even_unchanged = false);
  void Forward(EventId id, std::initializer_list<EventArg> args);

  ControlClass control_class_;
  Capabilities capabilities_;
  BoardSettings settings_;
  std::shared_ptr<FormsPort> forms_;
  std::shared_ptr<HostPort> host_;
  Board board_;
  Surface surface_;
  TextCell host_move_cell_;     // PutMove
  TextCell move_display_cell_;  // GetMove
  TextCell position_cell_;      // PutPosition
  KeyboardFocus focus_;
  ClickEntry entry_;
  KeyboardEntry keys_;
  Timeline timeline_;
  std::uint64_t host_changes_ = 0;  // loads and host moves so far
  bool dropping_ = false;           // a drop's destination click: not animated
  // A load's own write of a member sends no notice; the writes a host makes from inside it (in
  // an event handler) still do. Member writes count how deep they are nested for that.
  QuietWrite quiet_;
  int write_depth_ = 0;
};

}  // namespace velmora
