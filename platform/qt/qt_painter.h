#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "view/display_list.h"
#include "view/pixel_grid.h"

class QPainter;

namespace velmora {

// The core's pixel grid for a device pixel ratio: 15 twips a logical pixel, times the ratio.
PixelGrid GridFor(qreal device_pixel_ratio);
// The logical rectangle that covers a device box (a ratio of 1.5 leaves half pixels).
QRect LogicalRect(const PixelBox& box, qreal device_pixel_ratio);

// A piece picture rasterized from its outlines at a device size, ready to draw at a device
// point: every piece reaches the screen through here.
QImage PieceImageFor(Picture picture, MaskSize size);

// Paints display lists with QPainter in device pixels, placed by the core's pixel grid for the
// painter's device pixel ratio, so every edge lands on a whole device pixel. It keeps the faces
// it looked up and the pieces it rasterized, so one painter belongs to one widget.
class QtPainter {
 public:
  void Paint(QPainter& painter, const DisplayList& list);

 private:
  void PaintRectangle(QPainter& painter, const PaintCommand& command);
  void PaintIcon(QPainter& painter, const PaintCommand& command);
  void PaintText(QPainter& painter, const PaintCommand& command);
  void PaintTextBox(QPainter& painter, const PaintCommand& command);
  void PaintGroupFrame(QPainter& painter, const PaintCommand& command);

  QRect Box(const PaintCommand& command) const;
  int Hairline() const;
  QFont FontFor(const std::optional<Font>& font);
  const QImage& PieceFor(Picture picture);

  qreal ratio_ = 1;
  PixelGrid grid_ = GridFor(1);
  std::map<std::tuple<std::u16string, bool>, QString> families_;
  // Pieces at the current picture size and the few before it, most recent first.
  std::vector<std::pair<MaskSize, std::map<Picture, QImage>>> pieces_;
};

}  // namespace velmora
