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

// Cuts the path's edges into row crossings, in the order the edges come; only the crossings of
// rows `first_row` to `end_row` (not included) are kept, each as the whole mask would have it.
class CrossingCollector {
 public:
  CrossingCollector(MaskSize size, int first_row, int end_row)
      : width_(size.width), height_(size.height), first_row_(first_row), end_row_(end_row) {}

  // An edge from a to b in pixels. Downward edges add, upward ones subtract.
  void Edge(PathPoint a, PathPoint b) {
    if (a.y == b.y) return;
    const double sign = a.y < b.y ? 1.0 : -1.0;
    if (sign < 0) std::swap(a, b);
    if (b.y <= 0 || a.y >= height_ || b.y <= first_row_ || a.y >= end_row_) return;
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
    const int last = std::min(static_cast<int>(std::ceil(b.y)), end_row_);
    for (int row = std::max(first, first_row_); row < last; ++row) {
      const double top = std::max<double>(row, a.y);
      const double bottom = std::min<double>(row + 1, b.y);
      if (bottom <= top) continue;
      crossings_.push_back(
          {row, a.x + slope * (top - a.y), a.x + slope * (bottom - a.y), sign * (bottom - top)});
    }
  }

  int width_;
  int height_;
  int first_row_, end_row_;
  std::vector<RowCrossing> crossings_;
};

// The crossings of `rows` rows from `first_row` grouped by row, top row first, each row's in the
// order they came (the order in which they add up into a pixel, which rounding can tell apart).
std::vector<RowCrossing> ByRow(const std::vector<RowCrossing>& crossings, int first_row, int rows) {
  std::vector<std::size_t> starts(static_cast<std::size_t>(rows) + 1);
  const auto index = [first_row](const RowCrossing& c) {
    return static_cast<std::size_t>(c.row - first_row);
  };
  for (const RowCrossing& c : crossings) ++starts[index(c) + 1];
  for (std::size_t row = 1; row < starts.size(); ++row) starts[row] += starts[row - 1];
  std::vector<RowCrossing> sorted(crossings.size());
  for (const RowCrossing& c : crossings) sorted[starts[index(c)]++] = c;
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
std::uint8_t CoverageOf(double winding, FillRule rule) {
  double covered = std::abs(winding);
  if (rule == FillRule::kEvenOdd) {
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
  // `cells`: at least width + 2 of them, all zero; they are left zero.
  RowCells(int width, double* cells) : width_(width), cells_(cells) {}
  RowCells(const RowCells&) = delete;
  RowCells& operator=(const RowCells&) = delete;
  ~RowCells() { cells_[width_] = cells_[width_ + 1] = 0; }

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
  template <class Out>
  void Sweep(Out out, FillRule rule) {
    std::sort(touched_.begin(), touched_.end(),
              [](ColumnRange p, ColumnRange q) { return p.first < q.first; });
    double* cells = cells_;  // a local: stores through `out` could otherwise change the member
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
        coverage = CoverageOf(winding, rule);
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
  double* cells_;
  std::vector<ColumnRange> touched_;
};

// The columns from `first` to `end` (not included) of a row of a mask that already holds
// coverage, column i at `row[x + i]`: each pixel gains the row's, up to all.
struct RowAdder {
  std::uint8_t* row;
  int x, first, end;
  static std::uint8_t Sum(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(std::min(a + b, 255));
  }
  void Set(int i, std::uint8_t coverage) const {
    if (i >= first && i < end) row[x + i] = Sum(row[x + i], coverage);
  }
  void Fill(int from, int to, std::uint8_t coverage) const {
    const int start = std::max(from, first), stop = std::min(to, end);
    if (start >= stop) return;
    // Inside a shape, where it covers all, whatever was there becomes all.
    if (coverage == 255) {
      std::fill(row + x + start, row + x + stop, coverage);
      return;
    }
    for (int i = start; i < stop; ++i) row[x + i] = Sum(row[x + i], coverage);
  }
};

// Sweeps the rows from `first_row` to `end_row` (not included) of a mask of `size` by the path's
// fill rule, handing row `row` to the writer `out(row)` makes.
template <class MakeOut>
void Resolve(const Path& path, const std::vector<RowCrossing>& crossings, MaskSize size,
             int first_row, int end_row, double* cell_store, MakeOut out) {
  RowCells cells(size.width, cell_store);
  const std::vector<RowCrossing> sorted = ByRow(crossings, first_row, end_row - first_row);
  auto next = sorted.begin();
  for (int row = first_row; row < end_row; ++row) {
    for (; next != sorted.end() && next->row == row; ++next) {
      cells.Deposit(next->a, next->b, next->height);
    }
    cells.Sweep(out(row), path.rule());
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

// The path's edges cut into row crossings of the rows from `first_row` to `end_row` (not
// included) of a mask of `size`.
std::vector<RowCrossing> CrossingsOf(const Path& path, double units, MaskSize size, int first_row,
                                     int end_row) {
  CrossingCollector edges(size, first_row, end_row);
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
  CoverageMask mask{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size.width) *
                                                    static_cast<std::size_t>(size.height))};
  RowCellStore cells;
  RasterizeAdding(path, units, size, {0, 0, size.width, size.height}, mask, 0, 0, cells);
  return mask;
}

void RasterizeAdding(const Path& path, double units, MaskSize size, const PixelBox& window,
                     CoverageMask& into, int x, int y, RowCellStore& cells) {
  size.width = std::max(size.width, 0);
  size.height = std::max(size.height, 0);
  const PixelBox part = Intersection(window, {0, 0, size.width, size.height});
  if (IsEmpty(part)) return;
  const auto width = static_cast<std::size_t>(into.size.width);
  const auto wanted = static_cast<std::size_t>(size.width) + 2;
  if (cells.cells.size() < wanted) cells.cells.resize(wanted);
  Resolve(path, CrossingsOf(path, units, size, part.top, part.bottom), size, part.top, part.bottom,
          cells.cells.data(), [&](int row) {
            return RowAdder{into.coverage.data() + static_cast<std::size_t>(y + row) * width, x,
                            part.left, part.right};
          });
}

}  // namespace velmora
