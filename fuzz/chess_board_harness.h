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

  // Runs one gesture and checks what it did to the board.
  template <typename Gesture>
  void Person(Gesture gesture);
  void CheckGesture(const Snapshot& now, std::size_t messages_before);
  // The legal list as the control reads it back, as from-to square pairs.
  void ReadBackLegalList();
  bool Listed(std::size_t from, std::size_t to) const;

  PointerPoint MiddleOf(std::int16_t square, std::int16_t held) const;

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
  // The control as the running gesture found it, or as a host write during it left it.
  Snapshot gesture_start_;
  bool lifted_ = false;  // the running gesture lifted a piece
};

}  // namespace velmora::fuzz
