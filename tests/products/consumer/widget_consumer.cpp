// Places the widget in a window and plays a move on it with two clicks.
#include <QApplication>
#include <QMouseEvent>
#include <cstdio>

#include "velmora/board_widget.h"

namespace {

// The centre of a square in the widget: 720 twips (48 pixels) a square, A1 at the bottom left.
QPoint SquareCentre(int column, int row) {
  return QPoint(32 + 48 * (column - 1) + 24, 368 - 48 * (row - 1) + 24);
}

void Click(QWidget* widget, QPoint at) {
  for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  velmora::BoardWidget board;
  int changes = 0;
  QObject::connect(&board, &velmora::BoardWidget::changed, [&] { ++changes; });
  board.show();
  Click(&board, SquareCentre(5, 2));
  Click(&board, SquareCentre(5, 4));
  const bool moved = board.getMove() == QStringLiteral("E2-E4") && changes == 2;
  std::puts(moved ? "widget consumer: E2-E4 played" : "widget consumer: the move was not played");
  return moved ? 0 : 1;
}
