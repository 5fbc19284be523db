#include "view/artwork.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {
namespace {

// One closed contour of a drawing: a start point and the lines and cubics that follow it.
struct Segment {
  PathVerb verb;  // kLine or kCubic
  PathPoint c1, c2, end;
};
struct Part {
  PathPoint start;
  std::vector<Segment> segments;
};

Part Box(double left, double top, double right, double bottom) {
  return {{left, top},
          {{PathVerb::kLine, {}, {}, {right, top}},
           {PathVerb::kLine, {}, {}, {right, bottom}},
           {PathVerb::kLine, {}, {}, {left, bottom}}}};
}

Part Polygon(std::initializer_list<PathPoint> points) {
  Part part{*points.begin(), {}};
  for (auto p = points.begin() + 1; p != points.end(); ++p) {
    part.segments.push_back({PathVerb::kLine, {}, {}, *p});
  }
  return part;
}

// Four cubics, a quarter each, with the usual control distance for a circle's quarter.
Part Ellipse(double cx, double cy, double rx, double ry) {
  constexpr double k = 0.5522847498;
  return {{cx, cy - ry},
          {{PathVerb::kCubic, {cx + k * rx, cy - ry}, {cx + rx, cy - k * ry}, {cx + rx, cy}},
           {PathVerb::kCubic, {cx + rx, cy + k * ry}, {cx + k * rx, cy + ry}, {cx, cy + ry}},
           {PathVerb::kCubic, {cx - k * rx, cy + ry}, {cx - rx, cy + k * ry}, {cx - rx, cy}},
           {PathVerb::kCubic, {cx - rx, cy - k * ry}, {cx - k * rx, cy - ry}, {cx, cy - ry}}}};
}

// A drawing of one piece kind: overlapping parts whose union is the body, and detail lines.
struct Drawing {
  std::vector<Part> body;
  std::vector<Part> detail;
};

// The part reflected about the box's upright centre line; it then runs the other way round,
// which Build() puts right.
Part Mirrored(const Part& part) {
  auto mirror = [](PathPoint p) { return PathPoint{kArtBox - p.x, p.y}; };
  Part mirrored{mirror(part.start), {}};
  for (const Segment& s : part.segments) {
    mirrored.segments.push_back({s.verb, mirror(s.c1), mirror(s.c2), mirror(s.end)});
  }
  return mirrored;
}

// The two lowest parts every piece but the pawn stands on, with their seams.
void AddBase(Drawing& d, double band_left, double band_right, double seam_left, double seam_right) {
  d.body.push_back(Box(band_left, 36, band_right, 40.5));
  d.body.push_back(Box(9, 39, 39, 44));
  d.detail.push_back(Box(seam_left, 36, seam_right, 37));
  d.detail.push_back(Box(band_left + 1, 39, band_right - 1, 40));
}

Drawing Pawn() {
  Drawing d;
  d.body = {Ellipse(24, 17.5, 8, 7.5), Ellipse(24, 26.5, 9, 1.6),
            Polygon({{19, 26},
                     {29, 26},
                     {29.6, 30},
                     {31, 33},
                     {32.6, 35},
                     {33.5, 37.5},
                     {14.5, 37.5},
                     {15.4, 35},
                     {17, 33},
                     {18.4, 30}}),
            Box(14, 36, 34, 40.5), Box(11, 39, 37, 44)};
  d.detail = {Box(20, 28, 28, 29), Box(17, 36, 31, 37), Box(15, 39, 33, 40)};
  return d;
}

Drawing Bishop() {
  Drawing d;
  d.body = {Ellipse(24, 8, 3, 3),
            Polygon({{24, 10.2},
                     {27.5, 13},
                     {30.6, 15.6},
                     {32, 18.5},
                     {32, 23.5},
                     {31, 26.5},
                     {29, 29},
                     {29, 31},
                     {19, 31},
                     {19, 29},
                     {17, 26.5},
                     {16, 23.5},
                     {16, 18.5},
                     {17.4, 15.6},
                     {20.5, 13}}),
            Ellipse(24, 31.5, 9, 1.6),
            Polygon({{19, 31}, {29, 31}, {30, 34}, {31.5, 36.5}, {16.5, 36.5}, {18, 34}})};
  d.detail = {Polygon({{25.5, 16}, {27.7, 16}, {23.2, 22}, {21, 22}}), Box(20, 33, 28, 34)};
  AddBase(d, 14, 34, 19, 29);
  return d;
}

Drawing Knight() {
  Drawing d;
  d.body = {Polygon({{28.5, 2.5}, {30, 5},   {31.5, 7},   {35, 8.8},   {38, 11},   {40, 14},
                     {41, 17},    {41, 30},  {40, 32},    {38, 33},    {37, 36.5}, {16, 36.5},
                     {17.5, 33},  {19, 30},  {20.5, 29},  {20, 25.5},  {17.5, 27}, {13, 29},
                     {9, 29},     {8, 26},   {8, 22},     {9.5, 19.5}, {11, 17},   {13, 14.5},
                     {15.5, 11},  {18.5, 9}, {21.5, 7.3}, {23, 3.5},   {25, 5},    {27.5, 5}})};
  d.detail = {Ellipse(19.6, 15.2, 1.8, 1.2), Box(10, 25, 13, 26),
              Polygon({{32.5, 11}, {33.9, 11}, {38.6, 17.5}, {38.6, 31}, {37.6, 31}, {37.6, 18}})};
  AddBase(d, 12, 36, 18, 34);
  return d;
}

Drawing Queen() {
  Drawing d;
  const std::initializer_list<PathPoint> outer = {{5.5, 13}, {9, 13}, {12.5, 24.5}, {9.5, 24.5}};
  const std::initializer_list<PathPoint> inner = {{13.5, 10}, {18, 10}, {20.5, 24.5}, {12, 24.5}};
  d.body = {Ellipse(7, 12.5, 3, 2.5),
            Ellipse(15.5, 9.5, 2.5, 2.5),
            Ellipse(24, 7.5, 2.8, 2.6),
            Ellipse(41, 12.5, 3, 2.5),
            Ellipse(32.5, 9.5, 2.5, 2.5),
            Polygon(outer),
            Polygon(inner),
            Polygon({{22, 9}, {26, 9}, {27, 24.5}, {21, 24.5}}),
            Polygon({{9, 23.5}, {39, 23.5}, {36, 34}, {12, 34}}),
            Box(13, 33, 35, 37)};
  // The right-hand spikes mirror the left-hand ones.
  d.body.push_back(Mirrored(Polygon(outer)));
  d.body.push_back(Mirrored(Polygon(inner)));
  d.detail = {Box(13, 31, 35, 32)};
  AddBase(d, 12, 36, 14, 34);
  return d;
}

Drawing King() {
  Drawing d;
  d.body = {Box(22, 2, 26, 17),
            Box(18, 5, 30, 10),
            Box(21, 15, 27, 20),
            Ellipse(17.6, 23, 9.6, 7),
            Ellipse(30.4, 23, 9.6, 7),
            Box(20, 17, 28, 30),
            Polygon({{11, 29}, {37, 29}, {36, 37}, {12, 37}})};
  d.detail = {Box(23, 16, 25, 30), Box(13, 31, 35, 32)};
  AddBase(d, 12, 36, 13, 35);
  return d;
}

Drawing Rook() {
  Drawing d;
  d.body = {Box(11, 6, 16, 13),
            Box(21, 6, 27, 13),
            Box(32, 6, 37, 13),
            Box(11, 11, 37, 16),
            Polygon({{11, 15.5}, {37, 15.5}, {34, 18.5}, {14, 18.5}}),
            Box(14, 18, 34, 31),
            Box(13, 30, 35, 37)};
  d.detail = {Box(14, 15, 34, 16), Box(15, 19, 33, 20), Box(15, 33, 33, 34)};
  AddBase(d, 12, 36, 14, 34);
  return d;
}

// A contour as straight chords: lines as they are, each cubic in 16 steps.
std::vector<PathPoint> Chords(const Part& part) {
  std::vector<PathPoint> points{part.start};
  PathPoint at = part.start;
  for (const Segment& s : part.segments) {
    if (s.verb == PathVerb::kLine) {
      points.push_back(s.end);
    } else {
      for (int k = 1; k <= 16; ++k) {
        const double t = k / 16.0;
        const double u = 1 - t;
        points.push_back({u * u * u * at.x + 3 * u * u * t * s.c1.x + 3 * u * t * t * s.c2.x +
                              t * t * t * s.end.x,
                          u * u * u * at.y + 3 * u * u * t * s.c1.y + 3 * u * t * t * s.c2.y +
                              t * t * t * s.end.y});
      }
    }
    at = s.end;
  }
  if (points.size() > 1 && points.back() == points.front()) points.pop_back();
  return points;
}

// Positive for a contour running clockwise on the screen (y down).
double SignedArea(const std::vector<PathPoint>& points) {
  double twice = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const PathPoint a = points[i];
    const PathPoint b = points[(i + 1) % points.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2;
}

Part Reversed(const Part& part) {
  Part reversed{part.segments.empty() ? part.start : part.segments.back().end, {}};
  for (std::size_t i = part.segments.size(); i-- > 0;) {
    const Segment& s = part.segments[i];
    const PathPoint end = i == 0 ? part.start : part.segments[i - 1].end;
    reversed.segments.push_back({s.verb, s.c2, s.c1, end});
  }
  return reversed;
}

Part Clockwise(const Part& part) {
  return SignedArea(Chords(part)) < 0 ? Reversed(part) : part;
}

void AddContour(Path& path, const Part& part) {
  path.MoveTo(part.start);
  for (const Segment& s : part.segments) {
    if (s.verb == PathVerb::kLine) {
      path.LineTo(s.end);
    } else {
      path.CubicTo(s.c1, s.c2, s.end);
    }
  }
  path.Close();
}

// The contour moved inwards by `distance`: every edge shifted along its inward normal, corners
// where the shifted edges meet.
std::vector<PathPoint> Inset(const std::vector<PathPoint>& points, double distance) {
  const std::size_t n = points.size();
  std::vector<PathPoint> normals(n);
  for (std::size_t i = 0; i < n; ++i) {
    const PathPoint a = points[i];
    const PathPoint b = points[(i + 1) % n];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    normals[i] =
        length > 0 ? PathPoint{-(b.y - a.y) / length, (b.x - a.x) / length} : PathPoint{0, 0};
  }
  std::vector<PathPoint> inset(n);
  for (std::size_t i = 0; i < n; ++i) {
    const PathPoint before = normals[(i + n - 1) % n];
    const PathPoint after = normals[i];
    const double join = std::max(1 + before.x * after.x + before.y * after.y, 0.25);
    inset[i] = {points[i].x + distance * (before.x + after.x) / join,
                points[i].y + distance * (before.y + after.y) / join};
  }
  return inset;
}

PieceArt Build(const Drawing& drawing) {
  PieceArt art;
  for (const Part& raw : drawing.body) {
    const Part part = Clockwise(raw);
    AddContour(art.body, part);
    const std::vector<PathPoint> inner = Inset(Chords(part), kOutlineWidth);
    art.inside.MoveTo(inner.front());
    for (std::size_t i = 1; i < inner.size(); ++i) art.inside.LineTo(inner[i]);
    art.inside.Close();
  }
  for (const Part& part : drawing.detail) AddContour(art.detail, Clockwise(part));
  return art;
}

// In picture order: pawn, bishop, knight, queen, king, rook.
using ArtSet = std::array<PieceArt, kPieceCount / 2>;

ArtSet BuildAll() {
  return {Build(Pawn()),  Build(Bishop()), Build(Knight()),
          Build(Queen()), Build(King()),   Build(Rook())};
}

// The standard 16-colour palette, in index order.
constexpr std::array<Rgb, 16> kStandardPalette = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

// clang-format off
constexpr std::array<std::string_view, ToolboxPicture::kHeight> kToolboxRows = {
#include "view/toolbox_rows.inc"
};
// clang-format on

constexpr std::uint8_t HexValue(char digit) {
  return static_cast<std::uint8_t>(digit <= '9' ? digit - '0' : digit - 'a' + 10);
}

ToolboxPicture BuildToolbox() {
  ToolboxPicture picture{};
  for (std::size_t y = 0; y < kToolboxRows.size(); ++y) {
    for (std::size_t x = 0; x < ToolboxPicture::kWidth; ++x) {
      picture.pixels[y * ToolboxPicture::kWidth + x] = HexValue(kToolboxRows[y][x]);
    }
  }
  picture.palette = kStandardPalette;
  return picture;
}

// The white ink of a white piece, pixel by pixel in place of its inside: the inside less the
// detail lines over it, never more than the body covers. Plain pointers let the loop run on
// many pixels at once (a byte stored through a vector might alias the vector's pointers).
std::vector<std::uint8_t> WhiteOfWhitePiece(std::vector<std::uint8_t> inside,
                                            const std::vector<std::uint8_t>& detail,
                                            const std::vector<std::uint8_t>& body) {
  std::uint8_t* white = inside.data();
  const std::uint8_t* lines = detail.data();
  const std::uint8_t* cover = body.data();
  for (std::size_t i = 0; i < inside.size(); ++i) {
    white[i] =
        static_cast<std::uint8_t>(std::min<int>(white[i] * (255 - lines[i]) / 255, cover[i]));
  }
  return inside;
}

// The white ink of a black piece, in place of its detail lines: never more than the body covers.
std::vector<std::uint8_t> WhiteOfBlackPiece(std::vector<std::uint8_t> detail,
                                            const std::vector<std::uint8_t>& body) {
  std::uint8_t* white = detail.data();
  const std::uint8_t* cover = body.data();
  for (std::size_t i = 0; i < detail.size(); ++i) white[i] = std::min(white[i], cover[i]);
  return detail;
}

}  // namespace

const PieceArt* ArtFor(Picture picture) {
  if (!IsPiece(picture)) return nullptr;
  static const ArtSet art = BuildAll();
  return &art[static_cast<std::size_t>(PieceIndex(picture) % (kPieceCount / 2))];
}

PieceImage RasterizePiece(Picture picture, MaskSize size) {
  const PieceArt* art = ArtFor(picture);
  if (art == nullptr) return {};
  CoverageMask body = Rasterize(art->body, kArtBox, size);
  CoverageMask detail = Rasterize(art->detail, kArtBox, size);
  // A white piece is white inside its outline except under the detail lines; a black piece
  // is white only on them.
  std::vector<std::uint8_t> white =
      PieceIndex(picture) < kPieceCount / 2
          ? WhiteOfWhitePiece(Rasterize(art->inside, kArtBox, size).coverage, detail.coverage,
                              body.coverage)
          : WhiteOfBlackPiece(std::move(detail.coverage), body.coverage);
  return {body.size, std::move(body.coverage), std::move(white)};
}

const ToolboxPicture& Toolbox() {
  static const ToolboxPicture toolbox = BuildToolbox();
  return toolbox;
}

}  // namespace velmora
