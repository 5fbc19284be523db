#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "board/board.h"
#include "view/surface.h"

namespace velmora {

// One piece's way across the board, by cell letter and square numbers.
struct PieceTrip {
  char16_t letter;
  std::int16_t from, to;

  friend bool operator==(PieceTrip, PieceTrip) = default;
};

// The pieces a position change moved, when it moved at most four: each piece that arrived on a
// square, matched by letter to the nearest square that letter left (each left square used once;
// the nearer in rows and columns, then the lower square number). A piece with no match
// appears at once and is left out; more than four arrivals animate nothing.
std::vector<PieceTrip> MatchTrips(const Board& before, const Board& after);

// The time pieces slide in, on a clock the front end passes in (milliseconds, its own origin).
// A slide queued now shows its piece where it starts and starts moving at the first Advance
// after it, so a host's move carries no time; from then on each Advance places the piece on its
// way (easing in and out) until it lands.
// Only the surface's pictures follow: the board and the host's events changed already.
class Timeline {
 public:
  // Frames wanted while a piece slides, at most this far apart.
  static constexpr std::int64_t kFrameInterval = 16;

  // Queues a slide of `duration` ms (more than 0). With every slot taken, the oldest slide
  // lands at once.
  void Queue(Surface& surface, const PieceTrip& trip, std::int32_t duration);
  // Lands at once every slide that leaves from or lands on one of `squares` (one bit per
  // square number - 1); the others go on.
  void FinishTouching(Surface& surface, std::uint64_t squares);
  void Advance(Surface& surface, std::int64_t now);
  // When the next Advance is due: at once for a slide not started yet, else the next frame
  // (or the end, when sooner); none while nothing slides.
  std::optional<std::int64_t> NextTickAt() const;
  bool Idle() const { return used_ == 0; }

 private:
  struct Track {
    PieceTrip trip;
    std::int32_t duration;
    std::optional<std::int64_t> start;
    std::uint64_t order;  // queued order: the oldest lands first when the slots run out
  };
  void Land(Surface& surface, std::size_t slot);
  // Puts the piece in `slot` `along` its way (0 at the start, 1 at the end).
  void Place(Surface& surface, std::size_t slot, double along) const;

  std::array<std::optional<Track>, kMostSlides> tracks_{};
  std::size_t used_ = 0;
  std::uint64_t queued_ = 0;
  std::int64_t now_ = 0;  // the last Advance's time
};

// How far along its way a piece is at `fraction` of its time (0 to 1): slow, fast, slow, and
// exactly half way at half the time.
double Eased(double fraction);

}  // namespace velmora
