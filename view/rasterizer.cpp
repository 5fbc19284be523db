#include "view/rasterizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace velmora {
namespace {

constexpr double kCurveTolerance = 0.005;  // pixels between a curve and its chords
constexpr int kMostChords = 256;

// The part of a downward edge inside one pixel row: where it enters and leaves the row, and the
// height of the row it spans, negative for an edge that runs upwards.
struct RowCrossing {
  int row;
  double a, b;
  double height;
};

// Cuts the path's edges into row crossings, in the order the edges come.
class CrossingCollector {
 public:
  explicit CrossingCollector(MaskSize size) : width_(size.width), height_(size.height) {}

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

  std::vector<RowCrossing> TakeCrossings() { return std::move(crossings_); }

 private:
  // A downward piece inside the mask's columns, row by row.
  void Span(PathPoint a, PathPoint b, double sign) {
    const double slope = (b.x - a.x) / (b.y - a.y);
    const int first = static_cast<int>(std::floor(a.y));
    const int last = std::min(static_cast<int>(std::ceil(b.y)), height_);
    for (int row = std::max(first, 0); row < last; ++row) {
      const double top = std::max<double>(row, a.y);
      const double bottom = std::min<double>(row + 1, b.y);
      if (bottom <= top) continue;
      crossings_.push_back(
          {row, a.x + slope * (top - a.y), a.x + slope * (bottom - a.y), sign * (bottom - top)});
    }
  }

  int width_;
  int height_;
  std::vector<RowCrossing> crossings_;
};

// The crossings grouped by row, top row first, each row's in the order they came (the order in
// which they add up into a pixel, which rounding can tell apart).
std::vector<RowCrossing> ByRow(const std::vector<RowCrossing>& crossings, int rows) {
  std::vector<std::size_t> starts(static_cast<std::size_t>(rows) + 1);
  for (const RowCrossing& c : crossings) ++starts[static_cast<std::size_t>(c.row) + 1];
  for (std::size_t row = 1; row < starts.size(); ++row) starts[row] += starts[row - 1];
  std::vector<RowCrossing> sorted(crossings.size());
  for (const RowCrossing& c : crossings) sorted[starts[static_cast<std::size_t>(c.row)]++] = c;
  return sorted;
}

// The mean over x in [left, right] of how much of pixel column i lies right of x.
double RightShare(int i, double left, double right) {
  auto integral = [i](double x) {  // of clamp(i + 1 - t, 0, 1) dt from 0 to x
    if (x <= i) return x;
    if (x >= i + 1) return i + 0.5;
    const double into = x - i;
    return i + into - into * into / 2;
  };
  if (right - left < 1e-12) return std::clamp(i + 1 - left, 0.0, 1.0);
  return (integral(right) - integral(left)) / (right - left);
}

// Half up, as std::lround rounds, for 0 <= value <= 255: subtracting the whole part is exact.
std::uint8_t RoundToByte(double value) {
  const int whole = static_cast<int>(value);
  return static_cast<std::uint8_t>(whole + (value - whole >= 0.5 ? 1 : 0));
}

// A pixel's coverage from the winding number integrated over it, by the fill rule.
template <FillRule rule>
std::uint8_t CoverageOf(double winding) {
  double covered = std::abs(winding);
  if constexpr (rule == FillRule::kEvenOdd) {
    covered = std::fmod(covered, 2.0);
    if (covered > 1) covered = 2 - covered;
  }
  return RoundToByte(std::min(covered, 1.0) * 255);
}

// Columns first to last of one row's cells, both included.
struct ColumnRange {
  int first, last;
};

// Signed area, per pixel of one row, that the row's crossings leave to their right. The row's
// running sum from the left is the winding number integrated over the pixel: the exact covered
// area when edges do not cross inside a pixel. Only the cells the crossings touch are visited,
// and the sweep leaves the mask's cells zero for the next row, so a row costs its crossings
// and a fill, not a pass over every pixel.
class RowCells {
 public:
  explicit RowCells(int width) : width_(width), cells_(static_cast<std::size_t>(width) + 2) {}

  // A crossing from x = a to x = b over `height` of the row. Pixel i gets the share of that
  // height times the crossing's average distance to the pixel's right side (at most one
  // pixel); the cells hold differences so that a running sum gives it.
  void Deposit(double a, double b, double height) {
    const double left = std::min(a, b);
    const double right = std::max(a, b);
    const int first = std::clamp(static_cast<int>(std::floor(left)), 0, width_);
    const int last = std::min(static_cast<int>(std::floor(right)), width_);
    double before = 0;
    for (int i = first; i <= last; ++i) {
      const double covered = height * RightShare(i, left, right);
      cells_[static_cast<std::size_t>(i)] += covered - before;
      before = covered;
    }
    cells_[static_cast<std::size_t>(last) + 1] += height - before;
    touched_.push_back({first, last + 1});
  }

  // Hands the row's coverage to `out` and clears the cells: `out.Set(i, coverage)` for a pixel
  // a crossing touches, `out.Fill(first, end, coverage)` for a run of pixels between them (not
  // called for runs of none). Between touched cells the running sum stands still, so those
  // pixels are one fill.
  template <FillRule rule, class Out>
  void Sweep(Out out) {
    std::sort(touched_.begin(), touched_.end(),
              [](ColumnRange p, ColumnRange q) { return p.first < q.first; });
    double* cells = cells_.data();  // stores through `out` could otherwise alias the vector
    double winding = 0;
    std::uint8_t coverage = 0;
    int x = 0;  // pixels left of x are handed over
    for (const ColumnRange range : touched_) {
      const int first = std::max(range.first, x);
      const int end = std::min(range.last + 1, width_);
      if (first >= end) continue;
      if (coverage != 0) out.Fill(x, first, coverage);
      for (int i = first; i < end; ++i) {
        winding += cells[i];
        cells[i] = 0;
        coverage = CoverageOf<rule>(winding);
        out.Set(i, coverage);
      }
      x = end;
    }
    if (coverage != 0) out.Fill(x, width_, coverage);
    touched_.clear();
  }

 private:
  int width_;
  // The mask's columns and two more on the right, which take what falls past the mask and are
  // never read.
  std::vector<double> cells_;
  std::vector<ColumnRange> touched_;
};

// A row of a new mask, all zero until written.
struct RowWriter {
  std::uint8_t* row;
  void Set(int i, std::uint8_t coverage) const { row[i] = coverage; }
  void Fill(int first, int end, std::uint8_t coverage) const {
    std::fill(row + first, row + end, coverage);
  }
};

// A row of a mask that already holds coverage: each pixel gains the row's, up to all.
struct RowAdder {
  std::uint8_t* row;
  static std::uint8_t Sum(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(std::min(a + b, 255));
  }
  void Set(int i, std::uint8_t coverage) const { row[i] = Sum(row[i], coverage); }
  void Fill(int first, int end, std::uint8_t coverage) const {
    for (int i = first; i < end; ++i) row[i] = Sum(row[i], coverage);
  }
};

// Sweeps each of `size.height` rows, handing row `row` to the writer `out(row)` makes.
template <FillRule rule, class MakeOut>
void Resolve(const std::vector<RowCrossing>& crossings, MaskSize size, MakeOut out) {
  RowCells cells(size.width);
  const std::vector<RowCrossing> sorted = ByRow(crossings, size.height);
  auto next = sorted.begin();
  for (int row = 0; row < size.height; ++row) {
    for (; next != sorted.end() && next->row == row; ++next) {
      cells.Deposit(next->a, next->b, next->height);
    }
    cells.template Sweep<rule>(out(row));
  }
}

template <class MakeOut>
void Resolve(const Path& path, const std::vector<RowCrossing>& crossings, MaskSize size,
             MakeOut out) {
  if (path.rule() == FillRule::kEvenOdd) {
    Resolve<FillRule::kEvenOdd>(crossings, size, out);
  } else {
    Resolve<FillRule::kNonZero>(crossings, size, out);
  }
}

PathPoint Lerp(PathPoint a, PathPoint b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// Chords of a cubic: the largest second difference of its control points bounds how far a
// chord of an even split strays from the curve.
void Flatten(CrossingCollector& edges, PathPoint p0, PathPoint p1, PathPoint p2, PathPoint p3) {
  const double dd = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                             std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
  const int chords = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * dd / kCurveTolerance))),
                                1, kMostChords);
  PathPoint from = p0;
  for (int k = 1; k <= chords; ++k) {
    const double t = static_cast<double>(k) / chords;
    const PathPoint ab = Lerp(p0, p1, t), bc = Lerp(p1, p2, t), cd = Lerp(p2, p3, t);
    const PathPoint to = k == chords ? p3 : Lerp(Lerp(ab, bc, t), Lerp(bc, cd, t), t);
    edges.Edge(from, to);
    from = to;
  }
}

// The path's edges cut into row crossings of a mask of `size`.
std::vector<RowCrossing> CrossingsOf(const Path& path, double units, MaskSize size) {
  CrossingCollector edges(size);
  const double sx = size.width / units;
  const double sy = size.height / units;
  auto device = [sx, sy](PathPoint p) { return PathPoint{p.x * sx, p.y * sy}; };
  const auto points = path.points();
  std::size_t next = 0;
  PathPoint start{0, 0};
  PathPoint at{0, 0};
  bool open = false;
  auto close = [&] {
    if (open) edges.Edge(at, start);
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
        edges.Edge(at, to);
        at = to;
        break;
      }
      case PathVerb::kCubic: {
        const PathPoint c1 = device(points[next]);
        const PathPoint c2 = device(points[next + 1]);
        const PathPoint to = device(points[next + 2]);
        next += 3;
        Flatten(edges, at, c1, c2, to);
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
  return edges.TakeCrossings();
}

}  // namespace

CoverageMask Rasterize(const Path& path, double units, MaskSize size) {
  size.width = std::max(size.width, 0);
  size.height = std::max(size.height, 0);
  CoverageMask mask{size, {}};
  const auto width = static_cast<std::size_t>(size.width);
  mask.coverage.reserve(width * static_cast<std::size_t>(size.height));
  Resolve(path, CrossingsOf(path, units, size), size, [&](int) {
    // Grown a row at a time: each row is zeroed just before it is written, not the whole mask
    // in one pass ahead.
    mask.coverage.resize(mask.coverage.size() + width);
    return RowWriter{mask.coverage.data() + mask.coverage.size() - width};
  });
  return mask;
}

void RasterizeAdding(const Path& path, double units, MaskSize size, CoverageMask& into, int x,
                     int y) {
  size.width = std::max(size.width, 0);
  size.height = std::max(size.height, 0);
  const auto width = static_cast<std::size_t>(into.size.width);
  Resolve(path, CrossingsOf(path, units, size), size, [&](int row) {
    return RowAdder{into.coverage.data() + static_cast<std::size_t>(y + row) * width +
                    static_cast<std::size_t>(x)};
  });
}

}  // namespace velmora
