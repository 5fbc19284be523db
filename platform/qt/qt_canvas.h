#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <map>
#include <string>
#include <utility>

#include "view/canvas.h"
#include "view/painter.h"
#include "view/pixel_grid.h"
#include "view/recent_cache.h"

class QPainter;

namespace velmora {

// The device pixels a widget or item of a logical size covers at a device pixel ratio.
PixelBox DeviceArea(const QSizeF& size, qreal device_pixel_ratio);
// The size a board takes in a layout when nothing else is asked: 400 x 400 logical pixels; and
// the least it shrinks to, eight squares of 12.
inline constexpr int kPreferredBoardSide = 400;
inline constexpr int kLeastBoardSide = 96;
// The logical rectangle that covers a device box (a ratio of 1.5 leaves half pixels).
QRect LogicalRect(const PixelBox& box, qreal device_pixel_ratio);
// The device box that covers a logical rectangle.
PixelBox DeviceBox(const QRect& rect, qreal device_pixel_ratio);

// The core's painting through QPainter, in device pixels. It keeps what it made for the next
// paint (the faces it looked up, the texts it laid out, each piece as a QImage per size), so
// one canvas belongs to one widget; each paint hands it the painter to draw with.
class QtCanvas : public Canvas {
 public:
  // Paints `list` where it reaches into the logical `region`'s rectangles: `surface` laid on a
  // widget or item of the logical `size` at the ratio of the painter's device.
  void Paint(QPainter& painter, const Surface& surface, const QSizeF& size, const DisplayList& list,
             const QRegion& region);

  void Fill(const PixelBox& box, Rgb colour) override;
  void TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) override;
  TextMetrics Measure(std::u16string_view text, const TextFont& font) override;
  void Text(std::u16string_view text, const TextFont& font, Rgb colour, int x, int baseline,
            const PixelBox& clip) override;
  void Mask(const CoverageMask& mask, Rgb colour, int x, int y, const PixelBox& clip) override;
  void Layer(const ColourLayer& layer, const PixelBox& clip) override;
  void Piece(const PieceImage& image, Picture picture, const PixelBox& box, std::uint8_t opacity,
             const PixelBox& clip) override;

 private:
  // A text with its metrics. QPainter lays it out as it draws: a prepared static text would
  // place its glyphs differently at fractional ratios.
  struct LaidOut {
    QString text;
    TextMetrics metrics;
  };
  const QFont& FontFor(const TextFont& font);
  LaidOut& LayOut(std::u16string_view text, const TextFont& font);

  QPainter* painter_ = nullptr;
  SurfacePainter surface_painter_;
  std::map<FontFace, QString> families_;
  RecentCache<TextFont, QFont> fonts_{12, [](QFont&) {}};
  RecentCache<std::pair<std::u16string, TextFont>, LaidOut> texts_{32, [](LaidOut&) {}};
  // Pieces at the current picture size and the few before it.
  RecentCache<std::pair<Picture, MaskSize>, QImage> pieces_{
      kPieceCount * (SurfacePainter::kPieceSizesKept + 1), [](QImage&) {}};
};

}  // namespace velmora
