#include "view/pixel_grid.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr std::int32_t kSquareTwips = 720;
// The top-left corner of the board: A8's square.
constexpr std::int32_t kBoardLeft = 480;
constexpr std::int32_t kBoardTop = 480;

bool IsSquarePart(ControlRef ref) {
  return (ref.name == ControlName::kSquare || ref.name == ControlName::kSquarePicture) &&
         ref.index >= 1 && ref.index <= 64;
}

}  // namespace

DeviceScale DeviceScale::Times(double factor, int origin_x, int origin_y) {
  return {factor / kTwipsPerPixel, factor / kTwipsPerPixel, origin_x, origin_y};
}

DeviceScale DeviceScale::ToFit(int left, int top, int right, int bottom) {
  return {static_cast<double>(right - left) / kDesignWidth,
          static_cast<double>(bottom - top) / kDesignHeight, left, top};
}

DeviceScale DeviceScale::BoardFit(const PixelBox& area, double margin, bool spares) {
  const double squares = 8 + 2 * margin;
  const bool wide = area.width() > area.height();
  // A line of spare pieces a square deep, a quarter square from the board (or its coordinates).
  constexpr double kSpareGap = 0.25;
  const double along = spares ? squares + 2 * (1 + kSpareGap) : squares;
  const int square =
      std::max(1, static_cast<int>(std::min(area.width() / (wide ? along : squares),
                                            area.height() / (wide ? squares : along))));
  const int left = area.left + (area.width() - 8 * square) / 2;
  const int top = area.top + (area.height() - 8 * square) / 2;
  const double per_twip = static_cast<double>(square) / kSquareTwips;
  // The board's corner lands on whole pixels, so every square does.
  return {per_twip,
          per_twip,
          left - static_cast<int>(std::lround(kBoardLeft * per_twip)),
          top - static_cast<int>(std::lround(kBoardTop * per_twip)),
          area,
          !spares ? SpareLines::kNone
          : wide  ? SpareLines::kLeftRight
                  : SpareLines::kAboveBelow,
          static_cast<int>(std::lround(square * (margin + kSpareGap)))};
}

namespace {

// Squares of room on each side of a board alone for its coordinates round it: the file letters
// stand just over half a square below the board.
double CoordinateMargin(const Surface& surface) {
  return surface.Look().coordinates == Coordinates::kOutside ? 0.55 : 0.0;
}

}  // namespace

DeviceScale ScaleOnArea(const Surface& surface, const PixelBox& area, double factor) {
  if (surface.BoardAlone()) {
    return DeviceScale::BoardFit(area, CoordinateMargin(surface), surface.EditMode());
  }
  return DeviceScale::Times(factor, area.left, area.top);
}

DeviceScale ScaleIntoRectangle(const Surface& surface, const PixelBox& rectangle) {
  if (surface.BoardAlone()) {
    return DeviceScale::BoardFit(rectangle, CoordinateMargin(surface), surface.EditMode());
  }
  return DeviceScale::ToFit(rectangle.left, rectangle.top, rectangle.right, rectangle.bottom);
}

PixelGrid::PixelGrid(const DeviceScale& scale)
    : scale_(scale),
      board_left_(X(kBoardLeft)),
      board_top_(Y(kBoardTop)),
      pitch_x_(std::max(1, static_cast<int>(std::lround(kSquareTwips * scale.x)))),
      pitch_y_(std::max(1, static_cast<int>(std::lround(kSquareTwips * scale.y)))) {}

int PixelGrid::X(std::int32_t twips) const {
  return scale_.origin_x + static_cast<int>(std::lround(twips * scale_.x));
}

int PixelGrid::Y(std::int32_t twips) const {
  return scale_.origin_y + static_cast<int>(std::lround(twips * scale_.y));
}

PixelBox PixelGrid::DesignBox() const {
  if (!IsEmpty(scale_.area)) return scale_.area;
  return {X(0), Y(0), X(kDesignWidth), Y(kDesignHeight)};
}

PixelBox PixelGrid::BoxOf(const ControlSpec& spec) const {
  Rect rect{spec.left, spec.top, spec.width, spec.height};
  if (spec.parent) {
    const ControlSpec* panel = FindControl({*spec.parent});
    rect.left += panel->left;
    rect.top += panel->top;
  }
  return BoxOf(spec.ref, rect);
}

PixelBox PixelGrid::BoxOf(ControlRef source, const Rect& twips) const {
  if (source.name == ControlName::kBackground) return DesignBox();
  if (IsSquarePart(source)) {
    // The square's place is the one its rectangle lies in, as the board is turned now.
    const int column = std::clamp((twips.left - kBoardLeft) / kSquareTwips, 0, 7);
    const int row = std::clamp((twips.top - kBoardTop) / kSquareTwips, 0, 7);
    const int left = board_left_ + column * pitch_x_;
    const int top = board_top_ + row * pitch_y_;
    // A square's shape reaches one pixel further, onto its neighbour's grid line; a fitted
    // board draws no grid lines.
    if (source.name == ControlName::kSquare) {
      const int line = GridLine();
      return {left, top, left + pitch_x_ + line, top + pitch_y_ + line};
    }
    // Anything drawn inside a square (its picture, the focus mark) keeps its distance from the
    // square's edges, scaled, so it stays inside the snapped square at every scale.
    const std::int32_t square_left = kBoardLeft + column * kSquareTwips;
    const std::int32_t square_top = kBoardTop + row * kSquareTwips;
    const auto x = [this](std::int32_t t) { return static_cast<int>(std::lround(t * scale_.x)); };
    const auto y = [this](std::int32_t t) { return static_cast<int>(std::lround(t * scale_.y)); };
    return {left + x(twips.left - square_left), top + y(twips.top - square_top),
            left + pitch_x_ - x(square_left + kSquareTwips - twips.left - twips.width),
            top + pitch_y_ - y(square_top + kSquareTwips - twips.top - twips.height)};
  }
  if (source.name == ControlName::kSpare) return SpareBox(source.index, twips);
  if (source == kDraggedPieceSource) {
    // A floating piece (dragged or sliding) is placed by its middle, which lands on the pixel
    // the pointer is on: it moves by exactly the pixels the pointer does at any scale.
    const int width = static_cast<int>(std::lround(twips.width * scale_.x));
    const int height = static_cast<int>(std::lround(twips.height * scale_.y));
    const int left = X(twips.left + twips.width / 2) - width / 2;
    const int top = Y(twips.top + twips.height / 2) - height / 2;
    return {left, top, left + width, top + height};
  }
  return {X(twips.left), Y(twips.top), X(twips.left + twips.width), Y(twips.top + twips.height)};
}

PixelBox PixelGrid::SpareBox(std::int16_t place, const Rect& twips) const {
  if (scale_.spares == SpareLines::kNone) return {0, 0, 0, 0};
  // The far line's places 0 to 5 and the near line's 6 to 11 stand from its start; the eraser
  // ends the near line.
  const bool near = place >= 6;
  const int step = (place == 12 ? 7 : place % 6) * pitch_x_;
  const int gap = scale_.spare_gap;
  const int before =
      (scale_.spares == SpareLines::kAboveBelow ? board_top_ : board_left_) - gap - pitch_x_;
  const int after =
      (scale_.spares == SpareLines::kAboveBelow ? board_top_ : board_left_) + 8 * pitch_x_ + gap;
  const int across = near ? after : before;
  const int left = scale_.spares == SpareLines::kAboveBelow ? board_left_ + step : across;
  const int top = scale_.spares == SpareLines::kAboveBelow ? across : board_top_ + step;
  const auto x = [this](std::int32_t t) { return static_cast<int>(std::lround(t * scale_.x)); };
  const auto y = [this](std::int32_t t) { return static_cast<int>(std::lround(t * scale_.y)); };
  return {left + x(twips.left), top + y(twips.top), left + x(twips.left + twips.width),
          top + y(twips.top + twips.height)};
}

LineWidths PixelGrid::OutlineOf(ControlRef source, int pixels_at_96) const {
  if (pixels_at_96 <= 0) return {0, 0};
  if (source.name == ControlName::kSquare) return {GridLine(), GridLine()};
  auto scaled = [pixels_at_96](double pixels_per_twip) {
    return std::max(1,
                    static_cast<int>(std::lround(pixels_at_96 * kTwipsPerPixel * pixels_per_twip)));
  };
  return {scaled(scale_.x), scaled(scale_.y)};
}

}  // namespace velmora
