#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "control/board_control.h"
#include "control/pointer_input.h"
#include "fuzz/byte_reader.h"
#include "fuzz/invariants.h"
#include "platform/headless/headless_forms.h"

namespace velmora::fuzz {

// A ChessBoard on the headless platform, driven by a person's drags, clicks, keys and right
// button, turned either way, with the host's legal moves, its vetoes and its writes in between.
// After every operation a person's gesture has left the board unchanged or changed by exactly
// one move the host was asked about (through BeforeMove) and, while a legal list is set, one it
// lists; a vetoed move changes nothing and raises no Change; a drag never shows a message box.
// In edit mode (switched on and off between gestures and in the middle of drags) each gesture
// changes the board exactly as it says: a spare piece dropped on a square puts that piece there,
// a board piece dragged to a square moves there and dropped off the board is gone, a letter key
// or an armed place's click puts that piece on its square; a copy is the board's record and a
// paste loads a record or changes nothing. Such a change raises PositionEdited once, no
// BeforeMove and no Change, and clears the last move, the check and the legal list.
class ChessBoardHarness : public HostPort {
 public:
  ChessBoardHarness();
  ChessBoardHarness(const ChessBoardHarness&) = delete;
  ChessBoardHarness& operator=(const ChessBoardHarness&) = delete;

  void Run(ByteReader& in);

  void RaiseEvent(EventId id, std::span<const EventArg> args) override;
  void PropertyChanged(std::u16string_view) override {}

 private:
  // A move the host was asked about, as its BeforeMove arguments named it.
  struct AskedMove {
    std::u16string from, to, promotion;
    std::u16string get_move;  // GetMove when the host was asked
    bool cancelled;
  };

  void Step(ByteReader& in);

  // The host's side.
  void WriteLegalMoves(ByteReader& in);
  void HostWrite(ByteReader& in);
  // The person's side; each is checked as one gesture.
  void Drag(ByteReader& in);
  void Click(ByteReader& in);
  void Key(ByteReader& in);
  void RightGesture(ByteReader& in);
  // Edit mode's side.
  void EditGesture(ByteReader& in);
  void SwitchEditMode(bool on);
  // From a spare place or a square; EditMode written in its middle always or as the input says.
  void EditDrag(ByteReader& in, bool spare, bool always_switch);
  void SpareClick(ByteReader& in);
  void EditKey(ByteReader& in);
  void Clipboard(ByteReader& in);
  void BeginEdit();
  // The board is `expected`, with one PositionEdited exactly when it changed (or `pasted`), no
  // move asked about, and Change only when `changes_allowed` (a click before EditMode came on).
  void CheckEdit(const std::u16string& expected, bool pasted = false, bool changes_allowed = false);
  // The board as the gesture found it with square `n` holding `cell`.
  std::u16string WithCell(std::int16_t n, char16_t cell) const;
  // What a square click puts now: the armed place's piece.
  std::optional<char16_t> ArmedCell() const;
  void PressKey(std::int16_t key, std::int16_t shift);

  // Runs one gesture and checks what it did to the board.
  template <typename Gesture>
  void Person(Gesture gesture);
  void CheckGesture(const Snapshot& now, std::size_t messages_before);
  // The legal list as the control reads it back, as from-to square pairs.
  void ReadBackLegalList();
  bool Listed(std::size_t from, std::size_t to) const;

  PointerPoint MiddleOf(std::int16_t square, std::int16_t held) const;
  PointerPoint SpareMiddle(std::int16_t place) const;
  // The grid the pointer is on: in edit mode the board fills an area beside its spare pieces.
  PixelGrid Grid() const;

  HeadlessForms forms_;
  std::shared_ptr<BoardControl> control_;
  PixelGrid grid_{DeviceScale{}};
  PointerInput pointer_;
  // Pairs of square indexes (row-major from A1) the host lists; none listed means any move.
  std::bitset<64 * 64> listed_;
  bool any_listed_ = false;
  bool veto_ = false;
  std::optional<AskedMove> asked_;
  int changes_after_ask_ = 0;
  int changes_ = 0;  // Change events of the running gesture
  int edits_ = 0;    // PositionEdited events of the running gesture
  std::size_t messages_before_ = 0;
  // The control as the running gesture found it, or as a host write during it left it.
  Snapshot gesture_start_;
  bool lifted_ = false;  // the running gesture lifted a piece
};

}  // namespace velmora::fuzz
