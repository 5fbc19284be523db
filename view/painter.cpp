#include "view/painter.h"

#include <algorithm>
#include <cmath>

#include "view/destination_mark.h"
#include "view/highlight.h"
#include "view/mark_coverage.h"

namespace velmora {
namespace {

// The classic three-dimensional look of text boxes and group frames.
constexpr Rgb kShadow{128, 128, 128};
constexpr Rgb kDarkShadow{64, 64, 64};
constexpr Rgb kHighlight{255, 255, 255};
constexpr Rgb kLight{212, 208, 200};
constexpr Rgb kGreyText{128, 128, 128};

// What one paint draws with: the canvas, where parts lie, and the box it may touch.
struct PaintContext {
  Canvas& canvas;
  const PixelGrid& grid;
  PixelBox dirty;

  void Fill(const PixelBox& box, Rgb colour) const {
    const PixelBox clipped = Intersection(box, dirty);
    if (!IsEmpty(clipped)) canvas.Fill(clipped, colour);
  }
  void TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) const {
    const PixelBox clipped = Intersection(box, dirty);
    if (!IsEmpty(clipped)) canvas.TranslucentFill(clipped, colour, opacity);
  }
  void FillAt(int left, int top, int width, int height, Rgb colour) const {
    Fill({left, top, left + width, top + height}, colour);
  }
  // A frame just inside `r`, `widths` thick.
  void Outline(const PixelBox& r, LineWidths widths, Rgb colour) const {
    const int across = std::min({widths.across, r.width(), r.height()});
    const int down = std::min({widths.down, r.width(), r.height()});
    if (across <= 0 || down <= 0) return;
    FillAt(r.left, r.top, r.width(), down, colour);
    FillAt(r.left, r.bottom - down, r.width(), down, colour);
    FillAt(r.left, r.top, across, r.height(), colour);
    FillAt(r.right - across, r.top, across, r.height(), colour);
  }
  // Lines `thickness` thick along the top and left edges in one colour, then along the bottom
  // and right edges in another.
  void Bevel(const PixelBox& r, int thickness, Rgb top_left, Rgb bottom_right) const {
    FillAt(r.left, r.top, r.width(), thickness, top_left);
    FillAt(r.left, r.top, thickness, r.height(), top_left);
    FillAt(r.left, r.bottom - thickness, r.width(), thickness, bottom_right);
    FillAt(r.right - thickness, r.top, thickness, r.height(), bottom_right);
  }
  // A mask laid from the box's corner, clipped to the box.
  void Mask(const CoverageMask& mask, Rgb colour, const PixelBox& box) const {
    const PixelBox clipped = Intersection(box, dirty);
    if (!IsEmpty(clipped)) canvas.Mask(mask, colour, box.left, box.top, clipped);
  }
  void Text(std::u16string_view text, const TextFont& font, Rgb colour, int x, int baseline,
            const PixelBox& clip) const {
    const PixelBox clipped = Intersection(clip, dirty);
    if (!IsEmpty(clipped) && !text.empty()) canvas.Text(text, font, colour, x, baseline, clipped);
  }
  // A line of one pixel at 96 dots per inch, at this scale.
  int Hairline() const {
    const double factor = std::min(grid.scale().x, grid.scale().y) * kTwipsPerPixel;
    return std::max(1, static_cast<int>(std::lround(factor)));
  }
  TextFont FontOf(const PaintCommand& command) const {
    return TextFontFor(command.font, grid.scale().y);
  }
};

PixelBox Inset(const PixelBox& r, int by) {
  return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

bool Touches(const PixelBox& box, const PixelBox& dirty) {
  return !IsEmpty(Intersection(box, dirty));
}

void PaintRectangle(const PaintContext& paint, const PaintCommand& command, const PixelBox& r) {
  const LineWidths widths = paint.grid.OutlineOf(command.source, command.line_width);
  const bool outlined = widths.across > 0 && widths.down > 0;
  if (command.fill && outlined && 2 * widths.across < r.width() && 2 * widths.down < r.height()) {
    // A filled shape with its outline: the outline's colour under all of it, the fill inside,
    // two fills instead of five.
    paint.Fill(r, command.line);
    paint.Fill({r.left + widths.across, r.top + widths.down, r.right - widths.across,
                r.bottom - widths.down},
               *command.fill);
    return;
  }
  if (command.fill) paint.Fill(r, *command.fill);
  paint.Outline(r, widths, command.line);
}

void PaintText(const PaintContext& paint, const PaintCommand& command, const PixelBox& r) {
  if (command.fill) paint.Fill(r, *command.fill);
  const TextFont font = paint.FontOf(command);
  const TextMetrics metrics = paint.canvas.Measure(command.text, font);
  const int x = command.centred ? r.left + (r.width() - metrics.width) / 2 : r.left;
  paint.Text(command.text, font, command.line, x, r.top + metrics.ascent, r);
}

void PaintTextBox(const PaintContext& paint, const PaintCommand& command, const PixelBox& r) {
  paint.Fill(r, command.fill.value_or(kHighlight));
  const int line = paint.Hairline();
  paint.Bevel(r, line, kShadow, kHighlight);
  paint.Bevel(Inset(r, line), line, kDarkShadow, kLight);
  const PixelBox inside = Inset(r, 2 * line);
  const TextFont font = paint.FontOf(command);
  const TextMetrics metrics = paint.canvas.Measure(command.text, font);
  const int x =
      command.centred ? inside.left + (inside.width() - metrics.width) / 2 : inside.left + line;
  const int baseline = inside.top + (inside.height() - metrics.height) / 2 + metrics.ascent;
  paint.Text(command.text, font, command.enabled ? command.line : kGreyText, x, baseline, inside);
}

void PaintGroupFrame(const PaintContext& paint, const PaintCommand& command, const PixelBox& r) {
  const Rgb fill = command.fill.value_or(kLight);
  paint.Fill(r, fill);
  const TextFont font = paint.FontOf(command);
  const TextMetrics metrics = paint.canvas.Measure(command.text, font);
  // The etched line: a shadow line with a highlight line just inside and below it.
  const int line = paint.Hairline();
  const int line_top = r.top + metrics.height / 2;
  const PixelBox frame{r.left, line_top, r.right - line, r.bottom - line};
  paint.Outline({frame.left + line, frame.top + line, frame.right + line, frame.bottom + line},
                {line, line}, kHighlight);
  paint.Outline(frame, {line, line}, kShadow);
  if (command.text.empty()) return;
  // The caption keeps its usual indent unless that would push it past the right edge.
  const int gap = 2 * line;
  const int caption_left = r.left + std::clamp(r.width() - metrics.width - gap, gap, 8 * line);
  paint.FillAt(caption_left - gap, r.top, metrics.width + 2 * gap, metrics.height, fill);
  paint.Text(command.text, font, command.line, caption_left, r.top + metrics.ascent, r);
}

// Whether a command covers every pixel of its box with opaque colour.
bool PaintsEveryPixel(const PaintCommand& command) {
  switch (command.kind) {
    case PaintKind::kRectangle:
    case PaintKind::kText:
      return command.fill.has_value();
    case PaintKind::kTextBox:
    case PaintKind::kGroupFrame:
    case PaintKind::kTint:
      return true;
    case PaintKind::kIcon:
    case PaintKind::kDestination:
    case PaintKind::kGlow:
    case PaintKind::kCircles:
    case PaintKind::kArrows:
    case PaintKind::kVeil:
      break;
  }
  return false;
}

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

bool Contains(const PixelBox& outer, const PixelBox& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

void PaintControl(const PaintContext& paint, const PaintCommand& command, const PixelBox& r) {
  switch (command.kind) {
    case PaintKind::kRectangle:
      PaintRectangle(paint, command, r);
      break;
    case PaintKind::kText:
      PaintText(paint, command, r);
      break;
    case PaintKind::kTextBox:
      PaintTextBox(paint, command, r);
      break;
    case PaintKind::kGroupFrame:
      PaintGroupFrame(paint, command, r);
      break;
    case PaintKind::kDestination:
      paint.Mask(DestinationMask(command.destination, {r.width(), r.height()}), command.line, r);
      break;
    case PaintKind::kTint:
      paint.Fill(r, command.fill.value_or(kLastMoveTint));
      break;
    case PaintKind::kGlow:
      paint.Mask(CheckGlowMask({r.width(), r.height()}), command.line, r);
      break;
    case PaintKind::kVeil:
      paint.TranslucentFill(r, command.fill.value_or(kChooserVeil), command.opacity);
      break;
    case PaintKind::kIcon:
    case PaintKind::kCircles:
    case PaintKind::kArrows:
      break;
  }
}

// A picture's box: its size from its part's corner.
PixelBox PictureBox(const PixelGrid& grid, ControlRef source, const Rect& rect) {
  const PixelBox r = grid.BoxOf(source, rect);
  const MaskSize picture = grid.picture_size();
  return {r.left, r.top, r.left + picture.width, r.top + picture.height};
}

// Where a command paints on the device: a picture, and a mark over it, at the picture's size
// from its part's corner; circles and arrows within the squares' pictures; a square's highlight
// inside the square's outline; anything else its whole box.
PixelBox ReachOf(const PixelGrid& grid, const PaintCommand& command) {
  switch (command.kind) {
    case PaintKind::kIcon:
    case PaintKind::kDestination:
      return PictureBox(grid, command.source, command.rect);
    case PaintKind::kCircles:
    case PaintKind::kArrows:
    case PaintKind::kVeil:
      return BoardPicturesBox(grid);
    case PaintKind::kTint:
    case PaintKind::kGlow: {
      const PixelBox r = grid.BoxOf(command.source, command.rect);
      const LineWidths line = grid.OutlineOf(command.source, 1);
      return {r.left + line.across, r.top + line.down, r.right - line.across, r.bottom - line.down};
    }
    case PaintKind::kRectangle:
    case PaintKind::kText:
    case PaintKind::kTextBox:
    case PaintKind::kGroupFrame:
      break;
  }
  return grid.BoxOf(command.source, command.rect);
}

}  // namespace

MaskSize SurfacePainter::RasterSize(MaskSize picture_size) {
  const int largest = std::max(picture_size.width, picture_size.height);
  if (largest <= kLargestRasterizedPiece) return picture_size;
  const auto scaled = [largest](int side) {
    return std::max(1, static_cast<int>(std::int64_t{side} * kLargestRasterizedPiece / largest));
  };
  return {scaled(picture_size.width), scaled(picture_size.height)};
}

MarkCoverage& SurfacePainter::MarkCoverageFor(const PixelGrid& grid, const ShownMarks& shown) {
  if (!mark_coverage_ || !mark_coverage_->IsFor(shown.marks, shown.orientation, grid)) {
    mark_coverage_.emplace(shown.marks, shown.orientation, grid);
  }
  return *mark_coverage_;
}

void SurfacePainter::PaintMarks(Canvas& canvas, const PixelGrid& grid, const PaintCommand& command,
                                const PixelBox& dirty) {
  MarkCoverageFor(grid, command.marks).Paint(canvas, command.kind == PaintKind::kArrows, dirty);
}

const PieceImage& SurfacePainter::PieceFor(Picture picture, MaskSize picture_size) {
  auto& images = pieces_.Get(picture_size, [] { return std::array<PieceImage, kPieceCount>{}; });
  PieceImage& image = images[static_cast<std::size_t>(PieceIndex(picture))];
  if (image.alpha.empty()) image = RasterizePiece(picture, RasterSize(picture_size));
  return image;
}

void SurfacePainter::Paint(Canvas& canvas, const PixelGrid& grid, const DisplayList& list,
                           std::span<const PixelBox> dirty) {
  const MaskSize picture = grid.picture_size();
  // Where each command reaches, placed once for every dirty box and kept for the next paint:
  // a list is mostly the one before.
  if (!(placed_on_ == grid.scale())) {
    placed_on_ = grid.scale();
    placed_.clear();
  }
  placed_.resize(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PaintCommand& command = list[i];
    Placed& placed = placed_[i];
    if (placed.valid && placed.source == command.source && placed.kind == command.kind &&
        SameRect(placed.rect, command.rect)) {
      continue;
    }
    placed = {true, command.source, command.kind, command.rect, ReachOf(grid, command)};
  }
  for (const PixelBox& box : dirty) {
    if (IsEmpty(box)) continue;
    // Whatever lies under the topmost command that covers the whole box cannot show.
    std::size_t first = list.size();
    while (first > 0 &&
           !(PaintsEveryPixel(list[first - 1]) && Contains(placed_[first - 1].reach, box))) {
      --first;
    }
    if (first > 0) --first;
    const PaintContext paint{canvas, grid, box};
    for (std::size_t i = first; i < list.size(); ++i) {
      const PaintCommand& command = list[i];
      const PixelBox& reach = placed_[i].reach;
      if (!Touches(reach, box)) continue;
      if (command.kind == PaintKind::kCircles || command.kind == PaintKind::kArrows) {
        PaintMarks(canvas, grid, command, box);
      } else if (command.kind != PaintKind::kIcon) {
        PaintControl(paint, command, reach);
      } else if (IsPiece(command.picture)) {
        canvas.Piece(PieceFor(command.picture, picture), command.picture, reach, command.opacity,
                     Intersection(reach, box));
      }
    }
  }
}

}  // namespace velmora
