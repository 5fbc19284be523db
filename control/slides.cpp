#include "control/board_control.h"

// Pieces sliding to where moves and loads put them, on the front end's clock.
namespace velmora {
namespace {

std::uint64_t Bit(Square square) {
  return std::uint64_t{1} << (SquareNumber(square) - 1);
}

}  // namespace

void BoardControl::Advance(std::int64_t now_ms) {
  const auto self = shared_from_this();
  timeline_.Advance(surface_, now_ms);
}

void BoardControl::LandSlides() {
  timeline_.FinishTouching(surface_, ~std::uint64_t{0});
}

void BoardControl::SlideHostMove(const MoveText& move) {
  ++host_changes_;
  timeline_.FinishTouching(surface_, Bit(move.from) | Bit(move.to));
  const char16_t letter = board_.Cell(move.from);
  if (settings_.animation_time == 0 || letter == kEmptyCell || move.from == move.to) return;
  timeline_.Queue(surface_, {letter, SquareNumber(move.from), SquareNumber(move.to)},
                  settings_.animation_time);
}

void BoardControl::SlideChanges(const Board& before) {
  std::uint64_t changed = 0;
  for (std::int16_t n = 1; n <= 64; ++n) {
    if (before.Cell(SquareOf(n)) != board_.Cell(SquareOf(n))) changed |= Bit(SquareOf(n));
  }
  timeline_.FinishTouching(surface_, changed);
  if (settings_.animation_time == 0) return;
  for (const PieceTrip& trip : MatchTrips(before, board_)) {
    timeline_.Queue(surface_, trip, settings_.animation_time);
  }
}

}  // namespace velmora
