// velmora-quick-demo: the board as a QML item in a small window.
//   velmora-quick-demo                     opens the window
//   velmora-quick-demo --screenshot FILE   plays a few moves, saves a picture of the window, quits
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QGuiApplication::setApplicationName(QStringLiteral("velmora-quick-demo"));
  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption screenshot(
      QStringLiteral("screenshot"),
      QStringLiteral("Play an opening, save a picture of the window to <file> and quit."),
      QStringLiteral("file"));
  parser.addOption(screenshot);
  parser.process(app);

  QQmlApplicationEngine engine;
  // The module beside the program: in the build, and installed under the same prefix.
  const QDir here(QCoreApplication::applicationDirPath());
  for (const char* folder : {VELMORA_BUILD_QML_DIR, VELMORA_INSTALLED_QML_DIR}) {
    engine.addImportPath(here.absoluteFilePath(QString::fromLatin1(folder)));
  }
  engine.load(QUrl(QStringLiteral("qrc:/Main.qml")));
  if (engine.rootObjects().isEmpty()) return 1;
  auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().front());
  if (!parser.isSet(screenshot)) return QGuiApplication::exec();

  QObject* board = window->findChild<QObject*>(QStringLiteral("board"));
  for (const char* move : {"E2-E4", "E7-E5", "G1-F3", "B8-C6", "F1-B5"}) {
    board->setProperty("putMove", QString::fromLatin1(move));
  }
  // The list lays out its new rows in the next polish.
  QCoreApplication::processEvents();
  return window->grabWindow().save(parser.value(screenshot)) ? 0 : 1;
}
