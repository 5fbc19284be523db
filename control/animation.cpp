#include "control/animation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "view/display_list.h"

namespace velmora {
namespace {

constexpr std::size_t kMostTrips = 4;

std::uint64_t Bit(std::int16_t square) {
  return std::uint64_t{1} << (square - 1);
}

int Distance(std::int16_t a, std::int16_t b) {
  const Square s = SquareOf(a), t = SquareOf(b);
  return std::max(std::abs(s.row - t.row), std::abs(s.col - t.col));
}

// Where a square's picture is drawn, the board turned as the surface shows it.
Rect PictureRect(const Surface& surface, std::int16_t square) {
  return PlacedRect(surface, *FindControl({ControlName::kSquarePicture, square}));
}

std::int32_t Between(std::int32_t from, std::int32_t to, double along) {
  return from + static_cast<std::int32_t>(std::lround((to - from) * along));
}

}  // namespace

std::vector<PieceTrip> MatchTrips(const Board& before, const Board& after) {
  std::vector<std::int16_t> arrived, left;
  for (std::int16_t n = 1; n <= 64; ++n) {
    const char16_t was = before.Cell(SquareOf(n)), is = after.Cell(SquareOf(n));
    if (was == is) continue;
    if (is != kEmptyCell) arrived.push_back(n);
    if (was != kEmptyCell) left.push_back(n);
  }
  std::vector<PieceTrip> trips;
  if (arrived.size() > kMostTrips) return trips;
  for (const std::int16_t to : arrived) {
    const char16_t letter = after.Cell(SquareOf(to));
    auto best = left.end();
    for (auto from = left.begin(); from != left.end(); ++from) {
      if (before.Cell(SquareOf(*from)) != letter) continue;
      if (best == left.end() || Distance(*from, to) < Distance(*best, to)) best = from;
    }
    if (best == left.end()) continue;
    trips.push_back({letter, *best, to});
    left.erase(best);
  }
  return trips;
}

double Eased(double fraction) {
  const double t = std::clamp(fraction, 0.0, 1.0);
  const double rest = 2 - 2 * t;
  return t < 0.5 ? 4 * t * t * t : 1 - rest * rest * rest / 2;
}

void Timeline::Queue(Surface& surface, const PieceTrip& trip, std::int32_t duration) {
  auto slot = std::find_if(tracks_.begin(), tracks_.end(),
                           [](const std::optional<Track>& track) { return !track; });
  if (slot == tracks_.end()) {
    slot = std::min_element(tracks_.begin(), tracks_.end(),
                            [](const auto& a, const auto& b) { return a->order < b->order; });
    Land(surface, static_cast<std::size_t>(slot - tracks_.begin()));
  }
  *slot = Track{trip, duration, std::nullopt, queued_++};
  ++used_;
  // Shown at its start at once, so a paint before the first frame does not show it landed.
  Place(surface, static_cast<std::size_t>(slot - tracks_.begin()), 0);
  // Drawn without a clock (a container that never activates the control), a slide would stay
  // where it starts: it lands at once instead.
  if (!surface.SlidesQueued()) FinishTouching(surface, ~std::uint64_t{0});
}

void Timeline::Place(Surface& surface, std::size_t slot, double along) const {
  const PieceTrip& trip = tracks_[slot]->trip;
  const Rect from = PictureRect(surface, trip.from);
  const Rect to = PictureRect(surface, trip.to);
  const Picture picture = PictureForCell(trip.letter).value_or(Picture::kNone);
  surface.PlaceSlide(slot, {picture, trip.to, Between(from.left, to.left, along),
                            Between(from.top, to.top, along)});
}

void Timeline::Land(Surface& surface, std::size_t slot) {
  if (!tracks_[slot]) return;
  tracks_[slot].reset();
  --used_;
  surface.EndSlide(slot);
}

void Timeline::FinishTouching(Surface& surface, std::uint64_t squares) {
  for (std::size_t slot = 0; slot < tracks_.size(); ++slot) {
    const auto& track = tracks_[slot];
    if (track && ((Bit(track->trip.from) | Bit(track->trip.to)) & squares) != 0) {
      Land(surface, slot);
    }
  }
}

void Timeline::Advance(Surface& surface, std::int64_t now) {
  now_ = now;
  for (std::size_t slot = 0; slot < tracks_.size(); ++slot) {
    auto& track = tracks_[slot];
    if (!track) continue;
    if (!track->start) track->start = now;
    const double fraction = static_cast<double>(now - *track->start) / track->duration;
    if (fraction >= 1) {
      Land(surface, slot);
      continue;
    }
    Place(surface, slot, Eased(fraction));
  }
}

std::optional<std::int64_t> Timeline::NextTickAt() const {
  std::optional<std::int64_t> next;
  for (const auto& track : tracks_) {
    if (!track) continue;
    const std::int64_t due =
        track->start ? std::min(now_ + kFrameInterval, *track->start + track->duration) : now_;
    if (!next || due < *next) next = due;
  }
  return next;
}

}  // namespace velmora
