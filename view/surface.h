#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "board/square_marks.h"
#include "view/announcement.h"
#include "view/board_look.h"
#include "view/forms.h"
#include "view/layout.h"
#include "view/picture.h"

namespace velmora {

// A piece being dragged: the square it was lifted from (0 for a spare piece), and the pointer in
// twips from the surface's corner.
struct DraggedPiece {
  std::int16_t square;
  std::int32_t x, y;

  friend bool operator==(DraggedPiece, DraggedPiece) = default;
};

// A piece sliding to its square while a move is animated: the square it lands on, which shows
// nothing until it does, and where its picture's top-left corner is now, in twips from the
// surface's corner.
struct SlidingPiece {
  Picture picture;
  std::int16_t to;
  std::int32_t x, y;

  friend bool operator==(SlidingPiece, SlidingPiece) = default;
};

// The first accessible part of the spare places in edit mode (see view/accessible_parts.h).
inline constexpr std::int16_t kFirstSparePart = 66;

// Pieces that may slide at once; a host's castling slides two, a load up to four.
inline constexpr std::size_t kMostSlides = 8;
using Slides = std::array<std::optional<SlidingPiece>, kMostSlides>;

// The promotion chooser a ChessBoard shows over the board while it asks which piece a pawn
// becomes: the four choices stand on the promotion square's file, from that square toward the
// board's centre, queen first; white's (choices 0 to 3) on row 8, black's (4 to 7) on row 1.
inline constexpr std::int16_t kChooserChoices = 4;
constexpr std::int16_t ChooserFirstChoice(std::int16_t promotion_square) {
  return promotion_square > 32 ? 0 : 4;
}
// The square choice `first + i` (i from 0, the queen, to 3) stands on.
constexpr std::int16_t ChooserSquare(std::int16_t promotion_square, std::int16_t i) {
  return static_cast<std::int16_t>(promotion_square + (promotion_square > 32 ? -8 : 8) * i);
}

// The run-time state of the surface: what each square slot shows, which parts of the promotion
// prompt are visible, and whether the surface takes input. Everything else keeps its design
// value. Changes that are visible are reported to the one observer.
class Surface {
 public:
  Surface();

  void SetObserver(SurfaceObserver* observer) { observer_ = observer; }

  // Slot 0 is the hidden spare holder; 1 to 64 are the squares.
  Picture PictureOf(std::int16_t slot) const;
  // Assigning a picture that looks like the one the slot shows is still an assignment but no
  // visible change.
  void SetPicture(std::int16_t slot, Picture picture) {
    const std::size_t index = CheckedSlot(slot);
    if (index != 0) drawn_cells_[index - 1] = kNoCell;
    Show(index, picture);
  }

  // The promotion panels and their backdrop are the only controls shown and hidden at run time.
  bool IsVisible(ControlName prompt_control) const;
  void SetVisible(ControlName prompt_control, bool visible);
  // Brings the 64 squares into line with the board's rows (row 1 first); a character that is
  // no cell letter leaves its square as it is. The surface remembers the cell each square was
  // last brought into line with, so four cells that did not change since cost one comparison;
  // any other assignment of a square forgets its cell.
  void DrawCells(const std::array<std::array<char16_t, 8>, 8>& rows) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      for (std::size_t col = 0; col < 8; col += kCellsCompared) {
        const char16_t* cells = &rows[row][col];
        const char16_t* drawn = &drawn_cells_[row * 8 + col];
        if (std::memcmp(cells, drawn, kCellsCompared * sizeof(char16_t)) == 0) continue;
        for (std::size_t c = 0; c < kCellsCompared; ++c) {
          if (cells[c] != drawn[c]) DrawCell(row * 8 + col + c, cells[c]);
        }
      }
    }
  }

  // The promotion square the chooser stands on; 0 while it is hidden.
  std::int16_t Chooser() const { return chooser_; }
  void SetChooser(std::int16_t promotion_square);

  // Any control of the design: a choice is visible with its panel, the prompt controls as set,
  // everything else as designed.
  bool IsShown(const ControlSpec& spec) const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // The move display's cell changed: the display shows something else now.
  void MoveDisplayChanged() {
    if (observer_) observer_->MoveDisplayChanged();
  }

  // The squares' colours, the colour round the board and where the coordinates are drawn. A
  // change repaints it all.
  const BoardLook& Look() const { return look_; }
  void SetLook(const BoardLook& look);
  // Square n's colour.
  Rgb SquareFill(std::int16_t n) const {
    return SquareColour(n) == colours::kLightSquare ? look_.squares.light : look_.squares.dark;
  }
  // A board alone (no frame, title or move display, no lines between the squares) is laid
  // out to fill any area; the design keeps its form.
  bool BoardAlone() const { return board_alone_; }
  void SetBoardAlone() { board_alone_ = true; }

  // Edit mode: the spare pieces stand beside the board. Turning it on or off lays the surface
  // out anew.
  bool EditMode() const { return edit_mode_; }
  void SetEditMode(bool on);
  // The spare place (see view/spare_pieces.h) each square click puts from; -1 for none.
  std::int16_t Armed() const { return armed_; }
  void SetArmed(std::int16_t place);

  // The square whose piece is lifted (selected) while a pick is in force; 0 without one.
  std::int16_t Picked() const { return picked_; }
  void SetPicked(std::int16_t square);
  // Whether the picked square takes the selection tint (where the picked piece stays on it).
  bool SelectionTinted() const { return selection_tinted_; }
  void SetSelectionTinted(bool tinted) { selection_tinted_ = tinted; }

  // The squares marked as the picked piece's legal destinations, one bit per square number - 1.
  bool IsDestination(std::int16_t square) const { return IsSet(destinations_, square); }
  std::uint64_t Destinations() const { return destinations_; }
  void SetDestinations(std::uint64_t squares);

  // Which side the board is drawn from. Turning it moves every square and coordinate label.
  BoardOrientation Orientation() const { return orientation_; }
  void SetOrientation(BoardOrientation orientation);

  // The squares tinted as the last move's, one bit per square number - 1; none while the tint
  // is not shown.
  bool IsLastMoveSquare(std::int16_t square) const { return IsSet(last_move_, square); }
  std::uint64_t LastMoveSquares() const { return last_move_; }
  void SetLastMoveSquares(std::uint64_t squares);
  // The square that glows as in check; 0 for none.
  std::int16_t CheckSquare() const { return check_square_; }
  void SetCheckSquare(std::int16_t square);

  // The piece a person drags, drawn at the pointer while its square shows it faded.
  const std::optional<DraggedPiece>& Drag() const { return drag_; }
  void StartDrag(const DraggedPiece& drag);
  void MoveDrag(std::int32_t x, std::int32_t y);
  // Inline: a host's move ends any drag, and most have none.
  void EndDrag() {
    if (drag_) DropDrag();
  }

  // The marks shown: the host's, then the person's. Each circle or arrow that comes or goes is
  // reported as the area it covers, and as a new name of its square (a circle) or of the move
  // display, which lists the arrows.
  std::span<const SquareMark> Marks() const {
    return marks_ ? std::span<const SquareMark>(*marks_) : std::span<const SquareMark>();
  }
  // The same list, shared: it is replaced, never changed, so a painter that holds it knows
  // the marks are the same while the pointer is.
  const std::shared_ptr<const std::vector<SquareMark>>& SharedMarks() const { return marks_; }
  void SetMarks(std::vector<SquareMark> marks);

  // The pieces sliding now, by slot. A slot's piece is placed as it starts and moves, and ends
  // when it lands; each is reported as that slot's change, and its square's picture is
  // reported as it hides and shows again.
  const Slides& Sliding() const { return slides_; }
  bool IsSliding() const { return landing_ != 0; }
  bool IsLanding(std::int16_t square) const { return IsSet(landing_, square); }
  void PlaceSlide(std::size_t slot, const SlidingPiece& piece);
  void EndSlide(std::size_t slot);
  // Slides wait for the front end's clock: it should advance the control soon. False when no
  // front end will.
  bool SlidesQueued();

  // The part the focus mark is drawn in; 0 while no mark is drawn. Set by the keyboard focus,
  // which reports the move itself.
  std::int16_t FocusMark() const { return focus_mark_; }
  void SetFocusMark(std::int16_t part) { focus_mark_ = part; }
  void FocusMoved() {
    if (observer_) observer_->FocusMoved();
  }

  // The last thing announced; the move display's accessible name reads it.
  const std::optional<Announcement>& LastAnnouncement() const { return last_announcement_; }
  void Announce(const Announcement& announcement);

 private:
  static std::size_t CheckedSlot(std::int16_t slot);
  static bool IsSet(std::uint64_t squares, std::int16_t square) {
    return square >= 1 && square <= 64 && ((squares >> (square - 1)) & 1) != 0;
  }
  // Tells the observer of each square in `changed` by `report` that what it shows under its
  // piece changed, and that its name did.
  void ReportSquares(std::uint64_t changed, void (SurfaceObserver::*report)(std::int16_t square));
  void DropDrag();
  void ReportMark(const SquareMark& mark);
  void UpdateLanding();
  // Cells compared at once: four fill one 64-bit word.
  static constexpr std::size_t kCellsCompared = 4;
  // What a forgotten square remembers: no cell letter, so whatever the board holds there the
  // next repaint does what it does with a square it knows nothing of (a letter is painted, any
  // other character leaves the square as it is).
  static constexpr char16_t kNoCell = 0;
  // Paints square `index + 1` from `cell` and remembers the cell.
  void DrawCell(std::size_t index, char16_t cell);
  void Show(std::size_t slot, Picture picture) {
    Picture& shown = slots_[slot];
    const bool seen = !LookAlike(shown, picture);
    shown = picture;
    if (seen && slot != 0 && observer_) {
      observer_->PictureChanged(static_cast<std::int16_t>(slot));
      observer_->NameChanged(static_cast<std::int16_t>(slot));
    }
  }
  // The visibility flag of a prompt control; nullptr for any other control.
  template <typename Self>
  static auto PromptFlag(Self& self, ControlName control) -> decltype(&self.white_panel_shown_) {
    switch (control) {
      case ControlName::kWhitePanel:
        return &self.white_panel_shown_;
      case ControlName::kBlackPanel:
        return &self.black_panel_shown_;
      case ControlName::kPromptBackdrop:
        return &self.backdrop_shown_;
      default:
        return nullptr;
    }
  }

  std::array<Picture, 65> slots_{};
  std::array<char16_t, 64> drawn_cells_{};  // by square number - 1; kNoCell: not drawn yet
  bool white_panel_shown_ = false;
  bool black_panel_shown_ = false;
  bool backdrop_shown_ = false;
  std::int16_t chooser_ = 0;
  bool enabled_ = true;
  std::int16_t picked_ = 0;
  bool selection_tinted_ = false;
  std::uint64_t destinations_ = 0;
  std::optional<DraggedPiece> drag_;
  BoardOrientation orientation_ = BoardOrientation::kWhiteAtBottom;
  BoardLook look_;
  bool board_alone_ = false;
  bool edit_mode_ = false;
  std::int16_t armed_ = -1;
  std::uint64_t last_move_ = 0;
  std::int16_t check_square_ = 0;
  std::shared_ptr<const std::vector<SquareMark>> marks_;  // none: no marks
  Slides slides_{};
  std::uint64_t landing_ = 0;  // the squares slides land on, one bit per square number - 1
  std::int16_t focus_mark_ = 0;
  std::optional<Announcement> last_announcement_;
  SurfaceObserver* observer_ = nullptr;
};

}  // namespace velmora
