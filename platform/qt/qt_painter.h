#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "view/display_list.h"

class QPainter;

namespace velmora {

// 15 twips a logical pixel; the painter's device pixel ratio takes it from there.
QRect LogicalRect(const Rect& twips);
// The logical rectangle a constituent control covers on the surface.
QRect LogicalRect(ControlRef control);

// A piece picture for a logical size at a device pixel ratio: every piece reaches the screen
// through here.
QImage PieceImage(Picture picture, qreal device_pixel_ratio);

// Paints display lists with QPainter. It keeps the faces it looked up and the piece images it
// made, so one painter belongs to one widget.
class QtPainter {
 public:
  void Paint(QPainter& painter, const DisplayList& list);

 private:
  void PaintRectangle(QPainter& painter, const PaintCommand& command);
  void PaintIcon(QPainter& painter, const PaintCommand& command);
  void PaintText(QPainter& painter, const PaintCommand& command);
  void PaintTextBox(QPainter& painter, const PaintCommand& command);
  void PaintGroupFrame(QPainter& painter, const PaintCommand& command);

  QFont FontFor(const std::optional<Font>& font);
  const QImage& PieceFor(Picture picture, qreal device_pixel_ratio);

  std::map<std::tuple<std::u16string, bool>, QString> families_;
  // Pieces at the current device pixel ratio and the few before it, most recent first.
  std::vector<std::pair<qreal, std::map<Picture, QImage>>> pieces_;
};

}  // namespace velmora
