#include "products/qt-designer/board_widget_plugin.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "velmora/board_widget.h"
#include "view/artwork.h"

namespace velmora {

QImage ToolboxImage() {
  const ToolboxPicture& picture = Toolbox();
  QImage image(ToolboxPicture::kWidth, ToolboxPicture::kHeight, QImage::Format_RGB32);
  for (int y = 0; y < ToolboxPicture::kHeight; ++y) {
    for (int x = 0; x < ToolboxPicture::kWidth; ++x) {
      const Rgb rgb = picture.palette[picture.pixels[y * ToolboxPicture::kWidth + x]];
      image.setPixel(x, y, qRgb(rgb.r, rgb.g, rgb.b));
    }
  }
  return image;
}

QString BoardWidgetPlugin::name() const {
  return QStringLiteral("velmora::BoardWidget");
}

QString BoardWidgetPlugin::group() const {
  return QStringLiteral("Velmora");
}

QString BoardWidgetPlugin::toolTip() const {
  return QStringLiteral("Chess board");
}

QString BoardWidgetPlugin::whatsThis() const {
  return QStringLiteral(
      "A chess board: load positions with putPosition, push moves with putMove and read the "
      "moves entered on the board from getMove.");
}

QString BoardWidgetPlugin::includeFile() const {
  return QStringLiteral("velmora/board_widget.h");
}

QIcon BoardWidgetPlugin::icon() const {
  return QIcon(QPixmap::fromImage(ToolboxImage()));
}

QWidget* BoardWidgetPlugin::createWidget(QWidget* parent) {
  return new BoardWidget(parent);
}

QString BoardWidgetPlugin::domXml() const {
  return QStringLiteral(
      "<ui language=\"c++\">\n"
      " <widget class=\"velmora::BoardWidget\" name=\"board\"/>\n"
      " <customwidgets>\n"
      "  <customwidget>\n"
      "   <class>velmora::BoardWidget</class>\n"
      "   <header>velmora/board_widget.h</header>\n"
      "  </customwidget>\n"
      " </customwidgets>\n"
      "</ui>\n");
}

}  // namespace velmora
