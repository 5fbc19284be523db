#include "control/board_control.h"

#include <algorithm>

// A ChessBoard's marks and sliding pieces: what the person draws and what the clock moves.
namespace velmora {
namespace {

std::uint64_t Bit(Square square) {
  return std::uint64_t{1} << (SquareNumber(square) - 1);
}

bool SameSquares(const SquareMark& a, const SquareMark& b) {
  return a.from == b.from && a.to == b.to;
}

Announcement AnnounceMark(Announcement::Kind kind, const SquareMark& mark) {
  Announcement a;
  a.kind = kind;
  a.from = mark.from;
  a.to = mark.to.value_or(mark.from);
  a.colour = mark.colour;
  return a;
}

}  // namespace

void BoardControl::ShowMarks() {
  std::vector<SquareMark> shown = settings_.marks;
  shown.insert(shown.end(), settings_.user_marks.begin(), settings_.user_marks.end());
  surface_.SetMarks(std::move(shown));
}

void BoardControl::DrawUserMark(const SquareMark& mark) {
  const auto self = shared_from_this();
  if (!flavour_.later_members || !surface_.Enabled()) return;
  auto& marks = settings_.user_marks;
  const auto same = std::find_if(marks.begin(), marks.end(),
                                 [&](const SquareMark& m) { return SameSquares(m, mark); });
  Announcement::Kind kind = Announcement::Kind::kMarked;
  if (same == marks.end()) {
    marks.push_back(mark);
  } else if (same->colour == mark.colour) {
    marks.erase(same);
    kind = Announcement::Kind::kUnmarked;
  } else {
    same->colour = mark.colour;
  }
  ShowMarks();
  surface_.Announce(AnnounceMark(kind, mark));
  Forward(EventId::kMarksChanged, {});
}

void BoardControl::ClearUserMarks() {
  const auto self = shared_from_this();
  if (!flavour_.later_members || !surface_.Enabled() || settings_.user_marks.empty()) return;
  settings_.user_marks.clear();
  ShowMarks();
  Announcement cleared;
  cleared.kind = Announcement::Kind::kMarksCleared;
  surface_.Announce(cleared);
  Forward(EventId::kMarksChanged, {});
}

void BoardControl::Advance(std::int64_t now_ms) {
  const auto self = shared_from_this();
  timeline_.Advance(surface_, now_ms);
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
