#include "platform/qt/qt_painter.h"

#include <QFontDatabase>
#include <QFontMetrics>
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

int Logical(std::int32_t twips) {
  return twips / kTwipsPerPixel;
}

// A frame `width` logical pixels wide inside `r`.
void Outline(QPainter& painter, const QRect& r, int width, const QColor& colour) {
  width = std::min({width, r.width(), r.height()});
  if (width <= 0) return;
  painter.fillRect(r.left(), r.top(), r.width(), width, colour);
  painter.fillRect(r.left(), r.bottom() + 1 - width, r.width(), width, colour);
  painter.fillRect(r.left(), r.top(), width, r.height(), colour);
  painter.fillRect(r.right() + 1 - width, r.top(), width, r.height(), colour);
}

// One-pixel lines along the top and left edges in one colour, bottom and right in another.
void Bevel(QPainter& painter, const QRect& r, const QColor& top_left, const QColor& bottom_right) {
  painter.fillRect(r.left(), r.top(), r.width(), 1, top_left);
  painter.fillRect(r.left(), r.top(), 1, r.height(), top_left);
  painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottom_right);
  painter.fillRect(r.right(), r.top(), 1, r.height(), bottom_right);
}

}  // namespace

QRect LogicalRect(const Rect& twips) {
  return QRect(Logical(twips.left), Logical(twips.top), Logical(twips.width),
               Logical(twips.height));
}

QRect LogicalRect(ControlRef control) {
  const ControlSpec* spec = FindControl(control);
  if (spec == nullptr) return {};
  Rect rect{spec->left, spec->top, spec->width, spec->height};
  if (spec->parent) {
    const ControlSpec* panel = FindControl({*spec->parent});
    rect.left += panel->left;
    rect.top += panel->top;
  }
  return LogicalRect(rect);
}

QImage PieceImage(Picture picture, qreal device_pixel_ratio) {
  const Icon* icon = IconFor(picture);
  if (icon == nullptr) return {};
  // Each design pixel becomes a whole block of device pixels, so the edges stay hard.
  const int block = std::max(1, static_cast<int>(std::lround(device_pixel_ratio)));
  QImage image(kIconSize * block, kIconSize * block, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const Ink ink = icon->At(x, y);
      if (ink == Ink::kTransparent) continue;
      const QRgb colour = ink == Ink::kBlack ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
      for (int dy = 0; dy < block; ++dy) {
        for (int dx = 0; dx < block; ++dx) image.setPixel(x * block + dx, y * block + dy, colour);
      }
    }
  }
  image.setDevicePixelRatio(block);
  return image;
}

void QtPainter::Paint(QPainter& painter, const DisplayList& list) {
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
}

void QtPainter::PaintRectangle(QPainter& painter, const PaintCommand& command) {
  const QRect r = LogicalRect(command.rect);
  if (command.fill) painter.fillRect(r, ToQColor(*command.fill));
  Outline(painter, r, command.line_width, ToQColor(command.line));
}

void QtPainter::PaintIcon(QPainter& painter, const PaintCommand& command) {
  const QImage& image = PieceFor(command.picture, painter.device()->devicePixelRatioF());
  if (image.isNull()) return;
  const QRect r = LogicalRect(command.rect);
  painter.drawImage(QRect(r.topLeft(), QSize(kIconSize, kIconSize)), image);
}

void QtPainter::PaintText(QPainter& painter, const PaintCommand& command) {
  const QRect r = LogicalRect(command.rect);
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
  const QRect r = LogicalRect(command.rect);
  painter.fillRect(r, command.fill ? ToQColor(*command.fill) : kHighlight);
  Bevel(painter, r, kShadow, kHighlight);
  Bevel(painter, r.adjusted(1, 1, -1, -1), kDarkShadow, kLight);
  const QRect inside = r.adjusted(2, 2, -2, -2);
  const QFont font = FontFor(command.font);
  const QFontMetrics metrics(font);
  const QString text = ToQString(command.text);
  const int width = metrics.horizontalAdvance(text);
  const int x = command.centred ? inside.left() + (inside.width() - width) / 2 : inside.left() + 1;
  const int baseline = inside.top() + (inside.height() - metrics.height()) / 2 + metrics.ascent();
  painter.save();
  painter.setClipRect(inside, Qt::IntersectClip);
  painter.setFont(font);
  painter.setPen(command.enabled ? ToQColor(command.line) : kGreyText);
  painter.drawText(QPoint(x, baseline), text);
  painter.restore();
}

void QtPainter::PaintGroupFrame(QPainter& painter, const PaintCommand& command) {
  const QRect r = LogicalRect(command.rect);
  const QColor fill = command.fill ? ToQColor(*command.fill) : kLight;
  painter.fillRect(r, fill);
  const QFont font = FontFor(command.font);
  const QFontMetrics metrics(font);
  const QString text = ToQString(command.text);
  // The etched line: a shadow line with a highlight line just inside and below it.
  const int line_top = r.top() + metrics.height() / 2;
  const QRect frame(r.left(), line_top, r.width() - 1, r.height() - (line_top - r.top()) - 1);
  Outline(painter, frame.translated(1, 1), 1, kHighlight);
  Outline(painter, frame, 1, kShadow);
  if (text.isEmpty()) return;
  // The caption keeps its usual indent unless that would push it past the right edge.
  const int width = metrics.horizontalAdvance(text);
  const int caption_left = r.left() + std::clamp(r.width() - width - 2, 2, 8);
  painter.fillRect(caption_left - 2, r.top(), width + 4, metrics.height(), fill);
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
  qfont.setPixelSize(static_cast<int>(std::lround(font.points * 96.0 / 72.0)));
  qfont.setBold(font.bold);
  return qfont;
}

const QImage& QtPainter::PieceFor(Picture picture, qreal device_pixel_ratio) {
  constexpr std::size_t kRatiosKept = 3;
  auto at = std::find_if(pieces_.begin(), pieces_.end(),
                         [&](const auto& entry) { return entry.first == device_pixel_ratio; });
  if (at == pieces_.end()) {
    if (pieces_.size() == kRatiosKept) pieces_.pop_back();
    pieces_.emplace_back(device_pixel_ratio, std::map<Picture, QImage>{});
    at = std::prev(pieces_.end());
  }
  // The ratio in use moves to the front; the least recently used one goes first.
  std::rotate(pieces_.begin(), at, std::next(at));
  std::map<Picture, QImage>& images = pieces_.front().second;
  auto found = images.find(picture);
  if (found == images.end()) {
    found = images.emplace(picture, PieceImage(picture, device_pixel_ratio)).first;
  }
  return found->second;
}

}  // namespace velmora
