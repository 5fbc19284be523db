#include "platform/qt/qt_painter.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/headless/font_set.h"
#include "platform/qt/qt_text.h"
#include "view/artwork.h"

namespace velmora {
namespace {

// The system colours of a classic three-dimensional look, as the PNG renderer paints them.
const QColor kShadow(128, 128, 128);
const QColor kDarkShadow(64, 64, 64);
const QColor kHighlight(255, 255, 255);
const QColor kLight(212, 208, 200);
const QColor kGreyText(128, 128, 128);
constexpr Font kFallbackFont{u"MS Sans Serif", 8.25, false};

QColor ToQColor(Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

// A frame inside `r`, `widths` device pixels thick.
void Outline(QPainter& painter, const QRect& r, LineWidths widths, const QColor& colour) {
  const int across = std::min({widths.across, r.width(), r.height()});
  const int down = std::min({widths.down, r.width(), r.height()});
  if (across <= 0 || down <= 0) return;
  painter.fillRect(r.left(), r.top(), r.width(), down, colour);
  painter.fillRect(r.left(), r.bottom() + 1 - down, r.width(), down, colour);
  painter.fillRect(r.left(), r.top(), across, r.height(), colour);
  painter.fillRect(r.right() + 1 - across, r.top(), across, r.height(), colour);
}

// Lines `thickness` thick along the top and left edges in one colour, bottom and right in
// another.
void Bevel(QPainter& painter, const QRect& r, int thickness, const QColor& top_left,
           const QColor& bottom_right) {
  painter.fillRect(r.left(), r.top(), r.width(), thickness, top_left);
  painter.fillRect(r.left(), r.top(), thickness, r.height(), top_left);
  painter.fillRect(r.left(), r.bottom() + 1 - thickness, r.width(), thickness, bottom_right);
  painter.fillRect(r.right() + 1 - thickness, r.top(), thickness, r.height(), bottom_right);
}

}  // namespace

PixelGrid GridFor(qreal device_pixel_ratio) {
  return PixelGrid(DeviceScale::Times(device_pixel_ratio));
}

QRect LogicalRect(const PixelBox& box, qreal device_pixel_ratio) {
  const int left = static_cast<int>(std::floor(box.left / device_pixel_ratio));
  const int top = static_cast<int>(std::floor(box.top / device_pixel_ratio));
  const int right = static_cast<int>(std::ceil(box.right / device_pixel_ratio));
  const int bottom = static_cast<int>(std::ceil(box.bottom / device_pixel_ratio));
  return QRect(left, top, right - left, bottom - top);
}

QImage PieceImageFor(Picture picture, MaskSize size) {
  const PieceImage piece = RasterizePiece(picture, size);
  if (piece.alpha.empty()) return {};
  // Premultiplied: white ink is already scaled by coverage, black ink adds nothing.
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

void QtPainter::Paint(QPainter& painter, const DisplayList& list) {
  // The engine's device, not the painter's: a widget rendered into an image paints through a
  // redirected painter whose device is still the widget.
  const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
  if (ratio != ratio_) {
    ratio_ = ratio;
    grid_ = GridFor(ratio);
  }
  // Drawn in device pixels: the grid has already put every edge on one.
  painter.save();
  painter.scale(1 / ratio, 1 / ratio);
  for (const PaintCommand& command : list) {
    switch (command.kind) {
      case PaintKind::kRectangle:
        PaintRectangle(painter, command);
        break;
      case PaintKind::kIcon:
        PaintIcon(painter, command);
        break;
      case PaintKind::kText:
        PaintText(painter, command);
        break;
      case PaintKind::kTextBox:
        PaintTextBox(painter, command);
        break;
      case PaintKind::kGroupFrame:
        PaintGroupFrame(painter, command);
        break;
    }
  }
  painter.restore();
}

QRect QtPainter::Box(const PaintCommand& command) const {
  const PixelBox box = grid_.BoxOf(command.source, command.rect);
  return QRect(box.left, box.top, box.width(), box.height());
}

int QtPainter::Hairline() const {
  return std::max(1, static_cast<int>(std::lround(ratio_)));
}

void QtPainter::PaintRectangle(QPainter& painter, const PaintCommand& command) {
  const QRect r = Box(command);
  if (command.fill) painter.fillRect(r, ToQColor(*command.fill));
  Outline(painter, r, grid_.OutlineOf(command.source, command.line_width), ToQColor(command.line));
}

void QtPainter::PaintIcon(QPainter& painter, const PaintCommand& command) {
  if (!IsPiece(command.picture)) return;
  painter.drawImage(Box(command).topLeft(), PieceFor(command.picture));
}

void QtPainter::PaintText(QPainter& painter, const PaintCommand& command) {
  const QRect r = Box(command);
  if (command.fill) painter.fillRect(r, ToQColor(*command.fill));
  const QFont font = FontFor(command.font);
  const QFontMetrics metrics(font);
  const QString text = ToQString(command.text);
  const int width = metrics.horizontalAdvance(text);
  const int x = command.centred ? r.left() + (r.width() - width) / 2 : r.left();
  painter.save();
  painter.setClipRect(r, Qt::IntersectClip);
  painter.setFont(font);
  painter.setPen(ToQColor(command.line));
  painter.drawText(QPoint(x, r.top() + metrics.ascent()), text);
  painter.restore();
}

void QtPainter::PaintTextBox(QPainter& painter, const PaintCommand& command) {
  const QRect r = Box(command);
  painter.fillRect(r, command.fill ? ToQColor(*command.fill) : kHighlight);
  const int line = Hairline();
  Bevel(painter, r, line, kShadow, kHighlight);
  Bevel(painter, r.adjusted(line, line, -line, -line), line, kDarkShadow, kLight);
  const QRect inside = r.adjusted(2 * line, 2 * line, -2 * line, -2 * line);
  const QFont font = FontFor(command.font);
  const QFontMetrics metrics(font);
  const QString text = ToQString(command.text);
  const int width = metrics.horizontalAdvance(text);
  const int x =
      command.centred ? inside.left() + (inside.width() - width) / 2 : inside.left() + line;
  const int baseline = inside.top() + (inside.height() - metrics.height()) / 2 + metrics.ascent();
  painter.save();
  painter.setClipRect(inside, Qt::IntersectClip);
  painter.setFont(font);
  painter.setPen(command.enabled ? ToQColor(command.line) : kGreyText);
  painter.drawText(QPoint(x, baseline), text);
  painter.restore();
}

void QtPainter::PaintGroupFrame(QPainter& painter, const PaintCommand& command) {
  const QRect r = Box(command);
  const QColor fill = command.fill ? ToQColor(*command.fill) : kLight;
  painter.fillRect(r, fill);
  const QFont font = FontFor(command.font);
  const QFontMetrics metrics(font);
  const QString text = ToQString(command.text);
  // The etched line: a shadow line with a highlight line just inside and below it.
  const int line = Hairline();
  const int line_top = r.top() + metrics.height() / 2;
  const QRect frame(r.left(), line_top, r.width() - line, r.height() - (line_top - r.top()) - line);
  Outline(painter, frame.translated(line, line), {line, line}, kHighlight);
  Outline(painter, frame, {line, line}, kShadow);
  if (text.isEmpty()) return;
  // The caption keeps its usual indent unless that would push it past the right edge.
  const int width = metrics.horizontalAdvance(text);
  const int gap = 2 * line;
  const int caption_left = r.left() + std::clamp(r.width() - width - gap, gap, 8 * line);
  painter.fillRect(caption_left - gap, r.top(), width + 2 * gap, metrics.height(), fill);
  painter.save();
  painter.setFont(font);
  painter.setPen(ToQColor(command.line));
  painter.drawText(QPoint(caption_left, r.top() + metrics.ascent()), text);
  painter.restore();
}

QFont QtPainter::FontFor(const std::optional<Font>& design) {
  const Font font = design.value_or(kFallbackFont);
  auto key = std::make_tuple(std::u16string(font.face), font.bold);
  auto found = families_.find(key);
  if (found == families_.end()) {
    // The same stand-in files as the PNG renderer's, so both show the same letters.
    QString family;
    for (const std::string& candidate : FontCandidates(font)) {
      const std::string path = LocateFontFile(candidate);
      if (path.empty()) continue;
      const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
      const QStringList families = QFontDatabase::applicationFontFamilies(id);
      if (!families.isEmpty()) {
        family = families.front();
        break;
      }
    }
    found = families_.emplace(std::move(key), family).first;
  }
  QFont qfont(found->second);
  qfont.setPixelSize(static_cast<int>(std::lround(font.points * 96.0 / 72.0 * ratio_)));
  qfont.setBold(font.bold);
  return qfont;
}

const QImage& QtPainter::PieceFor(Picture picture) {
  constexpr std::size_t kSizesKept = 3;
  const MaskSize size = grid_.picture_size();
  auto at = std::find_if(pieces_.begin(), pieces_.end(),
                         [&](const auto& entry) { return entry.first == size; });
  if (at == pieces_.end()) {
    if (pieces_.size() == kSizesKept) pieces_.pop_back();
    pieces_.emplace_back(size, std::map<Picture, QImage>{});
    at = std::prev(pieces_.end());
  }
  // The size in use moves to the front; the least recently used one goes first.
  std::rotate(pieces_.begin(), at, std::next(at));
  std::map<Picture, QImage>& images = pieces_.front().second;
  auto found = images.find(picture);
  if (found == images.end()) found = images.emplace(picture, PieceImageFor(picture, size)).first;
  return found->second;
}

}  // namespace velmora
