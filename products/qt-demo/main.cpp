// velmora-qt-demo: the board widget in a small window.
//   velmora-qt-demo                     opens the window
//   velmora-qt-demo --screenshot FILE   plays a few moves, saves a picture of the window, quits
#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include "products/qt-demo/demo_window.h"
#include "velmora/board_widget.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("velmora-qt-demo"));
  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption screenshot(
      QStringLiteral("screenshot"),
      QStringLiteral("Play an opening, save a picture of the window to <file> and quit."),
      QStringLiteral("file"));
  parser.addOption(screenshot);
  parser.process(app);

  velmora::DemoWindow window;
  window.show();
  if (!parser.isSet(screenshot)) return QApplication::exec();

  for (const char* move : {"E2-E4", "E7-E5", "G1-F3", "B8-C6", "F1-B5"}) {
    window.board()->setPutMove(QString::fromLatin1(move));
  }
  // The pieces slide into place first.
  QEventLoop sliding;
  QTimer::singleShot(500, &sliding, &QEventLoop::quit);
  sliding.exec();
  return window.grab().save(parser.value(screenshot)) ? 0 : 1;
}
