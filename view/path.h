#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velmora {

// Which points a set of closed contours covers. Non-zero: wherever the contours wind round the
// point at all, so contours running the same way add up. Even-odd: wherever the point lies
// inside an odd number of them, so a contour inside another cuts a hole.
enum class FillRule : std::uint8_t { kNonZero, kEvenOdd };

struct PathPoint {
  double x, y;  // y grows downwards
  friend bool operator==(PathPoint, PathPoint) = default;
};

enum class PathVerb : std::uint8_t {
  kMove,   // starts a contour at one point
  kLine,   // to one point
  kCubic,  // two control points, then the end point
  kClose,  // back to the contour's start; every contour is closed, stated or not
};

// Outline data: contours of straight lines and cubic curves, in any unit the user chooses,
// filled by one rule.
class Path {
 public:
  explicit Path(FillRule rule = FillRule::kNonZero) : rule_(rule) {}

  Path& MoveTo(PathPoint p);
  Path& LineTo(PathPoint p);
  Path& CubicTo(PathPoint c1, PathPoint c2, PathPoint end);
  Path& Close();
  // Every contour of `other` added to this path as it is.
  Path& Append(const Path& other);

  FillRule rule() const { return rule_; }
  std::span<const PathVerb> verbs() const { return verbs_; }
  // Points in verb order: one for a move or a line, three for a cubic, none for a close.
  std::span<const PathPoint> points() const { return points_; }

 private:
  FillRule rule_;
  std::vector<PathVerb> verbs_;
  std::vector<PathPoint> points_;
};

// Adds a circle round `centre` as one contour of four cubic quarters, clockwise.
Path& AddCircle(Path& path, PathPoint centre, double radius);

}  // namespace velmora
