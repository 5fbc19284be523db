#include "view/rasterizer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {
namespace {

constexpr double kCurveTolerance = 0.005;  // pixels between a curve and its chords
constexpr int kMostChords = 256;

// Signed area, per pixel, that the path's edges leave to their right. Each row's running sum
// from the left is the winding number integrated over the pixel: the exact covered area when
// edges do not cross inside a pixel.
class Accumulator {
 public:
  explicit Accumulator(MaskSize size)
      : width_(size.width),
        height_(size.height),
        cells_(static_cast<std::size_t>(size.width + 2) * static_cast<std::size_t>(size.height)) {}

  // An edge from a to b in pixels. Downward edges add, upward ones subtract.
  void Edge(PathPoint a, PathPoint b) {
    if (a.y == b.y) return;
    const double sign = a.y < b.y ? 1.0 : -1.0;
    if (sign < 0) std::swap(a, b);
    if (b.y <= 0 || a.y >= height_) return;
    const double slope = (b.x - a.x) / (b.y - a.y);
    if (a.y < 0) a = {a.x + slope * -a.y, 0};
    if (b.y > height_) b = {a.x + slope * (height_ - a.y), static_cast<double>(height_)};
    // Split where the edge crosses the mask's left and right sides: left of the mask an edge
    // still covers everything to its right, so it runs on along the left side; right of the
    // mask it covers nothing.
    std::array<double, 4> cuts{a.y, b.y, b.y, b.y};
    int count = 1;
    for (const double side : {0.0, static_cast<double>(width_)}) {
      if ((a.x - side) * (b.x - side) < 0)
        cuts[static_cast<std::size_t>(count++)] = a.y + (side - a.x) / slope;
    }
    if (count == 3 && cuts[2] < cuts[1]) std::swap(cuts[1], cuts[2]);
    cuts[static_cast<std::size_t>(count++)] = b.y;
    for (int i = 0; i + 1 < count; ++i) {
      const double y0 = cuts[static_cast<std::size_t>(i)];
      const double y1 = cuts[static_cast<std::size_t>(i) + 1];
      if (y1 <= y0) continue;
      const double x0 = a.x + slope * (y0 - a.y);
      const double x1 = a.x + slope * (y1 - a.y);
      if (std::min(x0, x1) >= width_) continue;
      Span({std::max(x0, 0.0), y0}, {std::max(x1, 0.0), y1}, sign);
    }
  }

  CoverageMask Resolve(FillRule rule) const {
    CoverageMask mask{{width_, height_}, {}};
    mask.coverage.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
      double winding = 0;
      for (int x = 0; x < width_; ++x) {
        winding += cells_[Index(x, y)];
        double covered = std::abs(winding);
        if (rule == FillRule::kEvenOdd) {
          covered = std::fmod(covered, 2.0);
          if (covered > 1) covered = 2 - covered;
        }
        covered = std::min(covered, 1.0);
        mask.coverage.push_back(static_cast<std::uint8_t>(std::lround(covered * 255)));
      }
    }
    return mask;
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_ + 2) +
           static_cast<std::size_t>(x);
  }

  // A downward piece inside the mask's columns, row by row.
  void Span(PathPoint a, PathPoint b, double sign) {
    const double slope = (b.x - a.x) / (b.y - a.y);
    const int first = static_cast<int>(std::floor(a.y));
    const int last = std::min(static_cast<int>(std::ceil(b.y)), height_);
    for (int row = std::max(first, 0); row < last; ++row) {
      const double top = std::max<double>(row, a.y);
      const double bottom = std::min<double>(row + 1, b.y);
      if (bottom <= top) continue;
      Deposit(row, a.x + slope * (top - a.y), a.x + slope * (bottom - a.y), sign * (bottom - top));
    }
  }

  // The part of an edge inside one row runs from x = a to x = b over `height` of the row.
  // Pixel i gets the share of that height times the edge's average distance to the pixel's
  // right side (at most one pixel); the cells hold differences so that a running sum gives it.
  void Deposit(int row, double a, double b, double height) {
    const double left = std::min(a, b);
    const double right = std::max(a, b);
    const int first = std::min(static_cast<int>(std::floor(left)), width_);
    const int last = std::min(static_cast<int>(std::floor(right)), width_);
    double before = 0;
    for (int i = first; i <= last; ++i) {
      const double covered = height * RightShare(i, left, right);
      cells_[Index(i, row)] += covered - before;
      before = covered;
    }
    cells_[Index(last + 1, row)] += height - before;
  }

  // The mean over x in [left, right] of how much of pixel column i lies right of x.
  static double RightShare(int i, double left, double right) {
    auto integral = [i](double x) {  // of clamp(i + 1 - t, 0, 1) dt from 0 to x
      if (x <= i) return x;
      if (x >= i + 1) return i + 0.5;
      const double into = x - i;
      return i + into - into * into / 2;
    };
    if (right - left < 1e-12) return std::clamp(i + 1 - left, 0.0, 1.0);
    return (integral(right) - integral(left)) / (right - left);
  }

  int width_;
  int height_;
  std::vector<double> cells_;
};

PathPoint Lerp(PathPoint a, PathPoint b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// Chords of a cubic: the largest second difference of its control points bounds how far a
// chord of an even split strays from the curve.
void Flatten(Accumulator& acc, PathPoint p0, PathPoint p1, PathPoint p2, PathPoint p3) {
  const double dd = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                             std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
  const int chords = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * dd / kCurveTolerance))),
                                1, kMostChords);
  PathPoint from = p0;
  for (int k = 1; k <= chords; ++k) {
    const double t = static_cast<double>(k) / chords;
    const PathPoint ab = Lerp(p0, p1, t), bc = Lerp(p1, p2, t), cd = Lerp(p2, p3, t);
    const PathPoint to = k == chords ? p3 : Lerp(Lerp(ab, bc, t), Lerp(bc, cd, t), t);
    acc.Edge(from, to);
    from = to;
  }
}

}  // namespace

CoverageMask Rasterize(const Path& path, double units, MaskSize size) {
  size.width = std::max(size.width, 0);
  size.height = std::max(size.height, 0);
  Accumulator acc(size);
  const double sx = size.width / units;
  const double sy = size.height / units;
  auto device = [sx, sy](PathPoint p) { return PathPoint{p.x * sx, p.y * sy}; };
  const auto points = path.points();
  std::size_t next = 0;
  PathPoint start{0, 0};
  PathPoint at{0, 0};
  bool open = false;
  auto close = [&] {
    if (open) acc.Edge(at, start);
    open = false;
  };
  for (const PathVerb verb : path.verbs()) {
    switch (verb) {
      case PathVerb::kMove:
        close();
        start = at = device(points[next++]);
        open = true;
        break;
      case PathVerb::kLine: {
        const PathPoint to = device(points[next++]);
        acc.Edge(at, to);
        at = to;
        break;
      }
      case PathVerb::kCubic: {
        const PathPoint c1 = device(points[next]);
        const PathPoint c2 = device(points[next + 1]);
        const PathPoint to = device(points[next + 2]);
        next += 3;
        Flatten(acc, at, c1, c2, to);
        at = to;
        break;
      }
      case PathVerb::kClose:
        close();
        at = start;
        break;
    }
  }
  close();
  return acc.Resolve(path.rule());
}

}  // namespace velmora
