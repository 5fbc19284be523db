#include "board_widget_plugin.h"

#include <QIcon>
#include <QPixmap>

#include "velmora/board_widget.h"

namespace velmora {

QString BoardWidgetPlugin::whatsThis() const {
  return QStringLiteral(
      "A chess board: load positions with putPosition, push moves with putMove and read the "
      "moves entered on the board from getMove.");
}

QIcon BoardWidgetPlugin::icon() const {
  return QIcon(QPixmap::fromImage(BoardWidget::toolboxImage()));
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
