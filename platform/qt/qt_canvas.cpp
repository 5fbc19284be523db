#include "platform/qt/qt_canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <cmath>
#include <vector>

#include "platform/qt/qt_text.h"
#include "view/display_list.h"

namespace velmora {
namespace {

QColor ToQColor(Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

QRect ToQRect(const PixelBox& box) {
  return QRect(box.left, box.top, box.width(), box.height());
}

// A piece's premultiplied planes as a QImage: white ink is already scaled by coverage, black
// ink adds nothing.
QImage ToQImage(const PieceImage& piece) {
  QImage image(piece.size.width, piece.size.height, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < piece.size.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < piece.size.width; ++x) {
      const int white = piece.white[piece.Offset(x, y)];
      row[x] = qRgba(white, white, white, piece.alpha[piece.Offset(x, y)]);
    }
  }
  return image;
}

}  // namespace

PixelBox DeviceArea(const QSizeF& size, qreal device_pixel_ratio) {
  return {0, 0, static_cast<int>(std::ceil(size.width() * device_pixel_ratio)),
          static_cast<int>(std::ceil(size.height() * device_pixel_ratio))};
}

QRect LogicalRect(const PixelBox& box, qreal device_pixel_ratio) {
  const int left = static_cast<int>(std::floor(box.left / device_pixel_ratio));
  const int top = static_cast<int>(std::floor(box.top / device_pixel_ratio));
  const int right = static_cast<int>(std::ceil(box.right / device_pixel_ratio));
  const int bottom = static_cast<int>(std::ceil(box.bottom / device_pixel_ratio));
  return QRect(left, top, right - left, bottom - top);
}

PixelBox DeviceBox(const QRect& rect, qreal device_pixel_ratio) {
  return {static_cast<int>(std::floor(rect.left() * device_pixel_ratio)),
          static_cast<int>(std::floor(rect.top() * device_pixel_ratio)),
          static_cast<int>(std::ceil((rect.right() + 1) * device_pixel_ratio)),
          static_cast<int>(std::ceil((rect.bottom() + 1) * device_pixel_ratio))};
}

void QtCanvas::Paint(QPainter& painter, const Surface& surface, const QSizeF& size,
                     const DisplayList& list, const QRegion& region) {
  // The engine's device, not the painter's: a widget rendered into an image paints through a
  // redirected painter whose device is still the widget.
  const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
  const PixelGrid grid(ScaleOnArea(surface, DeviceArea(size, ratio), ratio));
  painter_ = &painter;
  // Drawn in device pixels: the grid has already put every edge on one.
  painter.save();
  painter.scale(1 / ratio, 1 / ratio);
  std::vector<PixelBox> dirty;
  dirty.reserve(static_cast<std::size_t>(region.rectCount()));
  for (const QRect& rect : region) dirty.push_back(DeviceBox(rect, ratio));
  surface_painter_.Paint(*this, grid, list, dirty);
  painter.restore();
  painter_ = nullptr;
}

void QtCanvas::Fill(const PixelBox& box, Rgb colour) {
  painter_->fillRect(ToQRect(box), ToQColor(colour));
}

void QtCanvas::TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) {
  QColor translucent = ToQColor(colour);
  translucent.setAlpha(opacity);
  painter_->fillRect(ToQRect(box), translucent);
}

const QFont& QtCanvas::FontFor(const TextFont& font) {
  return fonts_.Get(font, [&] {
    auto family = families_.find(font.face);
    if (family == families_.end()) {
      const QStringList installed = QFontDatabase::families();
      QString found;
      for (const FontFamily& candidate : FamiliesOf(font.face)) {
        const QString name = ToQString(candidate.name);
        if (installed.contains(name)) {
          found = name;
          break;
        }
      }
      family = families_.emplace(font.face, found).first;
    }
    QFont qfont(family->second);
    qfont.setPixelSize(font.pixels);
    qfont.setBold(font.bold);
    return qfont;
  });
}

QtCanvas::LaidOut& QtCanvas::LayOut(std::u16string_view text, const TextFont& font) {
  return texts_.Get(std::make_pair(std::u16string(text), font), [&] {
    const QFont& qfont = FontFor(font);
    const QFontMetrics metrics(qfont);
    const QString qtext = ToQString(text);
    return LaidOut{qtext, {metrics.horizontalAdvance(qtext), metrics.ascent(), metrics.height()}};
  });
}

TextMetrics QtCanvas::Measure(std::u16string_view text, const TextFont& font) {
  return LayOut(text, font).metrics;
}

void QtCanvas::Text(std::u16string_view text, const TextFont& font, Rgb colour, int x, int baseline,
                    const PixelBox& clip) {
  LaidOut& laid = LayOut(text, font);
  painter_->save();
  painter_->setClipRect(ToQRect(clip), Qt::IntersectClip);
  painter_->setFont(FontFor(font));
  painter_->setPen(ToQColor(colour));
  painter_->drawText(QPoint(x, baseline), laid.text);
  painter_->restore();
}

void QtCanvas::Mask(const CoverageMask& mask, Rgb colour, int x, int y, const PixelBox& clip) {
  QImage image(mask.size.width, mask.size.height, QImage::Format_ARGB32_Premultiplied);
  for (int row = 0; row < mask.size.height; ++row) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
    for (int col = 0; col < mask.size.width; ++col) {
      const int a = mask.At(col, row);
      line[col] = qRgba(colour.r * a / 255, colour.g * a / 255, colour.b * a / 255, a);
    }
  }
  painter_->save();
  painter_->setClipRect(ToQRect(clip), Qt::IntersectClip);
  painter_->drawImage(QPoint(x, y), image);
  painter_->restore();
}

void QtCanvas::Layer(const ColourLayer& layer, const PixelBox& clip) {
  // Only the part inside the clip is converted.
  const PixelBox on = Intersection(layer.box, clip);
  if (IsEmpty(on)) return;
  QImage image(on.width(), on.height(), QImage::Format_ARGB32_Premultiplied);
  for (int row = 0; row < on.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
    for (std::size_t col = 0, at = layer.Offset(on.left, on.top + row);
         col < static_cast<std::size_t>(on.width()); ++col, at += 3) {
      line[col] =
          qRgba(layer.colour[at], layer.colour[at + 1], layer.colour[at + 2], layer.Alpha(at));
    }
  }
  painter_->drawImage(QPoint(on.left, on.top), image);
}

void QtCanvas::Piece(const PieceImage& image, Picture picture, const PixelBox& box,
                     std::uint8_t opacity, const PixelBox& clip) {
  const QImage& qimage =
      pieces_.Get(std::make_pair(picture, image.size), [&] { return ToQImage(image); });
  if (opacity != 255) {
    painter_->save();
    painter_->setOpacity(opacity / 255.0);
  }
  if (image.size.width == box.width() && image.size.height == box.height()) {
    // Only the part inside the clip is drawn.
    painter_->drawImage(
        QPoint(clip.left, clip.top), qimage,
        QRect(clip.left - box.left, clip.top - box.top, clip.width(), clip.height()));
  } else {
    painter_->save();
    painter_->setClipRect(ToQRect(clip), Qt::IntersectClip);
    painter_->drawImage(ToQRect(box), qimage);
    painter_->restore();
  }
  if (opacity != 255) painter_->restore();
}

}  // namespace velmora
