// The QML item as a QML document uses it: the member table's properties, properties set from
// QML, a host move's pixels, a mouse drag, keys and a beforeMove handler, on the offscreen platform
// and the software scene graph.
#include <QAccessible>
#include <QGuiApplication>
#include <QMap>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <memory>

#include "control/board_control.h"
#include "control/members.h"
#include "control/presenter.h"
#include "platform/headless/png_renderer.h"
#include "platform/qt/qt_canvas.h"
#include "tests/platform/qt/widget_driver.h"
#include "tests/support/recording_host.h"
#include "velmora/board_widget.h"
#include "view/forms.h"

namespace velmora::testing {
namespace {

const QString kInitialFen = QStringLiteral("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");

// A view showing `import Velmora; ChessBoard { <body> }`, the module found in the build.
std::unique_ptr<QQuickView> ShownBoard(const QString& body) {
  auto view = std::make_unique<QQuickView>();
  view->engine()->addImportPath(QStringLiteral(VELMORA_QML_IMPORT_DIR));
  QQmlComponent component(view->engine());
  component.setData("import Velmora\nChessBoard { " + body.toUtf8() + " }", QUrl());
  QObject* board = component.create();
  if (board == nullptr) qWarning() << component.errorString();
  view->setContent(QUrl(), &component, board);
  view->show();
  return view;
}

// A control on no screen: what the core itself draws.
class QuietForms : public FormsPort {
 public:
  void ShowMessage(std::u16string_view) override {}
  bool ProcessPendingEvents() override { return true; }
  void Repaint() override {}
};

}  // namespace

class QuickBoardTest : public QObject {
  Q_OBJECT

 private slots:
  // Moc reads literal property lines, so this compares them with the member table: every member
  // (Enabled is the item's own) in the table's order, lower camel case, of the kind's type, with
  // its notice; and every signal the widget raises, by name.
  void theFaceIsTheMemberTableAndTheWidgetsSignals() {
    const auto view = ShownBoard({});
    QVERIFY(view->rootObject() != nullptr);
    const QMetaObject* meta = view->rootObject()->metaObject();
    CompareWithTheMemberTable(*meta, "the item");
    if (QTest::currentTestFailed()) return;
    QVERIFY(meta->indexOfMethod("refresh()") >= 0);
    // Assistive technology finds it by the core's role and name for the board.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(view->rootObject());
    QVERIFY(face != nullptr);
    QCOMPARE(face->role(), QAccessible::Table);
    QCOMPARE(face->text(QAccessible::Name), QString("Chess board"));
    const QMetaObject& widget = BoardWidget::staticMetaObject;
    for (int i = widget.methodOffset(); i < widget.methodCount(); ++i) {
      const QMetaMethod signal = widget.method(i);
      if (signal.methodType() != QMetaMethod::Signal) continue;
      bool found = false;
      for (int j = meta->methodOffset(); j < meta->methodCount(); ++j) {
        found |= meta->method(j).name() == signal.name();
      }
      QVERIFY2(found, "the item lacks the signal " + signal.name());
    }
  }

  // What QML sets acts at once; a drag with the mouse goes through the core's pointer input,
  // keys reach the core while the item has the focus, and a beforeMove handler in QML may cancel
  // the move.
  void qmlDrivesTheBoard_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("drag");  // "E2 E4", or empty for none
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("offers");  // beforeMove signals
    QTest::addColumn<int>("changes");
    QTest::newRow("fen") << "fen: '4k3/8/8/8/8/8/8/4K3'"
                         << ""
                         << ""
                         << "fen" << QVariant("4k3/8/8/8/8/8/8/4K3") << 0 << 0;
    QTest::newRow("orientation") << "orientation: 1"
                                 << ""
                                 << ""
                                 << "orientation" << QVariant(1) << 0 << 0;
    QTest::newRow("a refused value") << "orientation: 2"
                                     << ""
                                     << ""
                                     << "orientation" << QVariant(0) << 0 << 0;
    QTest::newRow("a colour") << "lightSquareColor: '#102030'"
                              << ""
                              << ""
                              << "lightSquareColor" << QVariant(QColor(16, 32, 48)) << 0 << 0;
    QTest::newRow("a drag moves") << "animationTime: 0"
                                  << "E2 E4"
                                  << ""
                                  << "getMove" << QVariant("E2-E4") << 1 << 2;
    QTest::newRow("a handler cancels") << "animationTime: 0; onBeforeMove: cancelMove()"
                                       << "E2 E4"
                                       << ""
                                       << "fen" << QVariant(kInitialFen) << 1 << 1;
    QTest::newRow("keys with the focus") << "animationTime: 0; focus: true"
                                         << ""
                                         << "Right Right Right Right Up Space Up Up Return"
                                         << "getMove" << QVariant("E2-E4") << 1 << 2;
  }

  void qmlDrivesTheBoard() {
    QFETCH(QString, body);
    QFETCH(QString, drag);
    QFETCH(QString, keys);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(int, offers);
    QFETCH(int, changes);
    const auto view = ShownBoard(body);
    QQuickItem* board = view->rootObject();
    QVERIFY(board != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QSignalSpy offered(board, SIGNAL(beforeMove(QString, QString, QString)));
    QSignalSpy changed(board, SIGNAL(changed()));
    if (!drag.isEmpty()) {
      const QPoint from = SquareRect(drag.left(2)).center(),
                   to = SquareRect(drag.right(2)).center();
      const int distance = QGuiApplication::styleHints()->startDragDistance();
      QTest::mousePress(view.get(), Qt::LeftButton, {}, from);
      QTest::mouseMove(view.get(), from + QPoint(distance + 1, 0));
      QTest::mouseMove(view.get(), to);
      QTest::mouseRelease(view.get(), Qt::LeftButton, {}, to);
    }
    if (!keys.isEmpty()) {
      view->requestActivate();
      QVERIFY(QTest::qWaitForWindowActive(view.get()));
      const QMap<QString, Qt::Key> named = {{"Right", Qt::Key_Right},
                                            {"Up", Qt::Key_Up},
                                            {"Space", Qt::Key_Space},
                                            {"Return", Qt::Key_Return}};
      for (const QString& key : keys.split(' ')) QTest::keyClick(view.get(), named[key]);
    }
    QCOMPARE(board->property(property.toLatin1()), value);
    QCOMPARE(offered.count(), offers);
    QCOMPARE(changed.count(), changes);
  }

  // A host move's pixels are the core's own render of the same board (the last move tinted),
  // whether the move came from QML (in whatever order it sets the properties: the piece may
  // slide first), before the first frame or after it.
  void aHostMoveShowsTheCoresPixels_data() {
    QTest::addColumn<QString>("when");
    for (const char* when : {"in QML", "before the first frame", "after it"}) {
      QTest::newRow(when) << when;
    }
  }

  void aHostMoveShowsTheCoresPixels() {
    QFETCH(QString, when);
    QuietForms forms;
    RecordingHost host;
    const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
    WriteMember(*control, MemberOf(MemberId::kAnimationTime), std::int32_t{0});
    // Without the coordinates' letters, which Qt lays out its own way.
    WriteMember(*control, MemberOf(MemberId::kCoordinates), std::int32_t{0});
    control->PutMove(u"G1-F3");
    const RgbImage core =
        PngRenderer(
            ScaleOnArea(control->surface(), {0, 0, kPreferredBoardSide, kPreferredBoardSide}, 1))
            .Render(Presenter::DisplayOf(*control));

    const auto view =
        ShownBoard(when == "in QML" ? "animationTime: 0; coordinates: 0; putMove: 'G1-F3'"
                                    : "animationTime: 0; coordinates: 0");
    if (when == "before the first frame") view->rootObject()->setProperty("putMove", "G1-F3");
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    if (when == "after it") view->rootObject()->setProperty("putMove", "G1-F3");
    QCOMPARE(view->grabWindow().size(), QSize(core.width(), core.height()));
    // The squares, as the widget's tests compare them: the labels' text is laid out by Qt.
    const QRect squares = SquareRect(u"A8").united(SquareRect(u"H1"));
    QTRY_COMPARE(PixelsOffTheCoresRender(view->grabWindow(), core, squares), 0);
  }
};

}  // namespace velmora::testing

QTEST_MAIN(velmora::testing::QuickBoardTest)
#include "quick_board_test.moc"
