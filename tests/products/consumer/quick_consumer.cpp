// Loads a QML document that uses the installed QML module, as a Qt Quick application would, and
// plays a move through a property.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QQmlEngine engine;
  QQmlComponent component(&engine);
  component.setData("import Velmora\nChessBoard { animationTime: 0; putMove: 'E2-E4' }", QUrl());
  const std::unique_ptr<QObject> board(component.create());
  if (!board) {
    std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
    return 1;
  }
  const bool moved = board->property("fen").toString().startsWith(
      QStringLiteral("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR"));
  std::puts(moved ? "QML consumer: ChessBoard loaded, E2-E4 played"
                  : "QML consumer: the move was not played");
  return moved ? 0 : 1;
}
