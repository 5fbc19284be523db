// The widget as a Qt application uses it: properties and their signals, clicks, the promotion
// wait and its ways out, a refused position, AfterMove, disabled input, keys, painting.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QKeyEvent>
#include <QMap>
#include <QMetaProperty>
#include <QPaintEvent>
#include <QPointer>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QtMath>
#include <memory>

#include "board/square.h"
#include "platform/headless/png_renderer.h"
#include "platform/qt/board_widget_impl.h"
#include "platform/qt/qt_accessible.h"
#include "platform/qt/qt_canvas.h"
#include "tests/platform/qt/widget_driver.h"
#include "velmora/board_widget.h"
#include "view/artwork.h"
#include "view/display_list.h"
#include "view/highlight.h"
#include "view/pixel_grid.h"
#include "view/spare_pieces.h"

namespace velmora::testing {

namespace {

const QString kInitial =
    QStringLiteral("RNBQKBNRPPPPPPPP********************************pppppppprnbqkbnr");
// A white pawn on A7 one step from promotion, the kings apart.
const QString kPawnOnA7 = Rows({"****K***", "********", "********", "********", "********",
                                "********", "P*******", "****k***"});

// Still and without the last move's tint unless told: pictures compared pixel by pixel show no
// piece on its way, and a board that was moved compares with one that was loaded.
std::unique_ptr<BoardWidget> ShownWidget(const QString& position = {}, bool animated = false) {
  auto widget = std::make_unique<BoardWidget>();
  widget->setShowLastMove(false);
  if (!animated) widget->setAnimationTime(0);
  widget->resize(widget->sizeHint());
  widget->show();
  if (!position.isEmpty()) widget->setPutPosition(position);
  return widget;
}

// A board loaded with a position, for comparing what a square shows.
QImage Reference(const QString& position, QStringView square) {
  const auto widget = ShownWidget(position);
  return SquareImage(Render(widget.get(), 1), square);
}

// Pixels of a square's picture that are neither the square's colour nor pure black or white.
int EdgePixels(const QImage& square) {
  const QRgb background = square.pixel(square.width() / 2, 1);
  int count = 0;
  for (int y = 0; y < square.height(); ++y) {
    for (int x = 0; x < square.width(); ++x) {
      const QRgb p = square.pixel(x, y) & 0xFFFFFF;
      count += p != (background & 0xFFFFFF) && p != 0 && p != 0xFFFFFF;
    }
  }
  return count;
}

// Keys as a person presses them: "Right", "Ctrl+Home", "Space", "N", separated by spaces.
void PressKeys(QWidget* widget, const QString& keys) {
  static const QMap<QString, Qt::Key> kNames = {
      {"Left", Qt::Key_Left},     {"Right", Qt::Key_Right},
      {"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},
      {"Home", Qt::Key_Home},     {"End", Qt::Key_End},
      {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown},
      {"Space", Qt::Key_Space},   {"Return", Qt::Key_Return},
      {"Q", Qt::Key_Q},           {"R", Qt::Key_R},
      {"B", Qt::Key_B},           {"N", Qt::Key_N}};
  for (QString key : keys.split(' ', Qt::SkipEmptyParts)) {
    Qt::KeyboardModifiers modifiers;
    if (key.startsWith("Ctrl+")) {
      modifiers = Qt::ControlModifier;
      key = key.mid(5);
    }
    QVERIFY2(kNames.contains(key), qPrintable(key));
    QTest::keyClick(widget, kNames[key], modifiers);
  }
}

// The update events a widget raised, as (type, child) pairs.
using Raised = QList<QPair<QAccessible::Event, int>>;
void CaptureAccessibility(BoardWidget& widget, Raised& raised) {
  SetAccessibilitySink(widget, [&raised](QAccessibleEvent& event) {
    raised.append({event.type(), event.child()});
  });
}

// Records the regions of every paint event a widget receives.
class PaintRecorder : public QObject {
 public:
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

// What comes between a drag's last move and its release.
enum class Interruption { kNone, kEscape, kOtherWindow };

// Drags with the left button as QTest delivers it: a press, a move past the drag distance, a
// move to `to`, then the release there.
void DragTo(QWidget* widget, QPoint from, QPoint to,
            Interruption interruption = Interruption::kNone) {
  QTest::mousePress(widget, Qt::LeftButton, {}, from);
  QTest::mouseMove(widget, from + QPoint(QApplication::startDragDistance() + 1, 0));
  QTest::mouseMove(widget, to);
  if (interruption == Interruption::kEscape) QTest::keyClick(widget, Qt::Key_Escape);
  if (interruption == Interruption::kOtherWindow) {
    QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(widget, &lost);
  }
  QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

// Where a drag ends: a square's name, or "off" for a point beside the board.
QPoint DropPoint(const QString& where) {
  return where == "off" ? QPoint(2, 2) : SquareRect(where).center();
}

// The square drawn at `name`'s place when the board is turned the other way: a half turn swaps A
// with H and 1 with 8.
QString HalfTurnedName(QStringView name) {
  return QString(QChar(u'A' + u'H' - name[0].unicode())) + QChar(u'1' + u'8' - name[1].unicode());
}

// Where a square is drawn, in logical pixels, with white (0) or black (1) at the bottom.
QRect DrawnSquareRect(QStringView name, int orientation) {
  return SquareRect(orientation == 0 ? name.toString() : HalfTurnedName(name));
}

// Where a setting-up gesture aims, in logical pixels on the widget as it is laid out now: a
// square's middle, a spare place's ("spare:7"), or "off" the board (left of it, between the
// lines of spare pieces above and below).
QPoint EditPoint(const BoardWidget& widget, const QString& where) {
  if (where == "off") return {2, widget.height() / 2};
  const PixelGrid& grid = WidgetAccess::Of(widget).Grid();
  PixelBox box{0, 0, 0, 0};
  if (where.startsWith("spare:")) {
    const auto place = static_cast<std::int16_t>(where.mid(6).toInt());
    box = grid.BoxOf({ControlName::kSpare, place}, kSpareCell);
  } else {
    const auto square = ParseSquareName(where[0].unicode(), where[1].unicode());
    box = grid.BoxOf(*FindControl({ControlName::kSquare, SquareNumber(*square)}));
  }
  return QPointF((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0).toPoint() /
         widget.devicePixelRatioF();
}

// The names of the board's accessible buttons that read as pressed (an armed spare place).
QStringList PressedButtons(BoardWidget& widget) {
  QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&widget);
  QStringList pressed;
  for (int i = 0; i < board->childCount(); ++i) {
    QAccessibleInterface* part = board->child(i);
    if (part->role() == QAccessible::Button && part->state().pressed) {
      pressed << part->text(QAccessible::Name);
    }
  }
  return pressed;
}

// Plays gestures given as words: "click X", "drag X Y" (X, Y as EditPoint names them) and
// "key K" (a letter, "Shift+N", "Ctrl+C", "Delete", "Backspace").
void PlayEdits(BoardWidget* widget, const QString& gestures) {
  const QStringList words = gestures.split(' ', Qt::SkipEmptyParts);
  for (qsizetype i = 0; i < words.size(); ++i) {
    if (words[i] == "click") {
      const QPoint at = EditPoint(*widget, words[++i]);
      QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    } else if (words[i] == "drag") {
      const QPoint from = EditPoint(*widget, words[++i]);
      DragTo(widget, from, EditPoint(*widget, words[++i]));
    } else {
      const QKeySequence key(words[++i]);
      QCOMPARE(key.count(), 1);
      QTest::keyClick(widget, key[0].key(), key[0].keyboardModifiers());
    }
  }
}

}  // namespace

class BoardWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void sitsInLayoutsAsASquareFocusableSurface() {
    BoardWidget widget;
    QCOMPARE(widget.sizeHint(), QSize(400, 400));
    QCOMPARE(widget.minimumSizeHint(), QSize(96, 96));
    QCOMPARE(widget.sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    QCOMPARE(widget.sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
    QVERIFY(widget.hasHeightForWidth());
    QCOMPARE(widget.heightForWidth(257), 257);
    QCOMPARE(widget.focusPolicy(), Qt::StrongFocus);
  }

  void clicksEnterAMoveWithItsSignals() {
    const auto widget = ShownWidget();
    QSignalSpy changed(widget.get(), &BoardWidget::changed);
    QSignalSpy notices(widget.get(), &BoardWidget::getMoveChanged);
    QStringList seen;
    connect(widget.get(), &BoardWidget::changed, [&] { seen << widget->getMove(); });
    ClickSquare(widget.get(), u"E2");
    ClickSquare(widget.get(), u"E4");
    QCOMPARE(seen, QStringList({"E2", "E2-E4"}));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(notices.count(), 0);  // the control wrote it, not the host
    QCOMPARE(SquareImage(Render(widget.get(), 1), u"E4"),
             Reference(Rows({"RNBQKBNR", "PPPP*PPP", "********", "****P***", "********", "********",
                             "pppppppp", "rnbqkbnr"}),
                       u"E4"));
  }

  void aReplyPushedFromChangedRunsNested() {
    const auto widget = ShownWidget();
    QStringList seen;
    QList<int> notices_at;
    int notices = 0;
    connect(widget.get(), &BoardWidget::putMoveChanged, [&] { ++notices; });
    connect(widget.get(), &BoardWidget::changed, [&] {
      seen << widget->getMove();
      notices_at << notices;
      // The engine answers the person's move from inside the notification.
      if (widget->getMove() == "E2-E4") widget->setPutMove("E7-E5");
    });
    ClickSquare(widget.get(), u"E2");
    ClickSquare(widget.get(), u"E4");
    QCOMPARE(seen, QStringList({"E2", "E2-E4", "E7-E5"}));
    // Change for the reply comes before the reply's own write returns with its notice.
    QCOMPARE(notices_at, (QList<int>{0, 0, 0}));
    QCOMPARE(notices, 1);
    QCOMPARE(widget->getMove(), QString("E7-E5"));
  }

  void hostWrites_data() {
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("getMoveAfter");
    QTest::newRow("a host move") << "putMove"
                                 << "E7-E5" << 1 << "E7-E5";
    QTest::newRow("the reset token") << "putMove"
                                     << "**" << 0 << "";
    QTest::newRow("no command") << "putMove"
                                << "E2" << 0 << "";
    QTest::newRow("a position") << "putPosition" << kPawnOnA7 << 0 << "";
    QTest::newRow("getMove itself") << "getMove"
                                    << "hello" << 1 << "hello";
  }

  void hostWrites() {
    QFETCH(QString, property);
    QFETCH(QString, value);
    QFETCH(int, changes);
    QFETCH(QString, getMoveAfter);
    const auto widget = ShownWidget();
    const QByteArray name = property.toLatin1();
    QSignalSpy changed(widget.get(), &BoardWidget::changed);
    const int notify = widget->metaObject()->indexOfProperty(name.constData());
    QSignalSpy notices(widget.get(), widget->metaObject()->property(notify).notifySignal());
    // Written twice: the second write changes nothing yet still sends its notice.
    QVERIFY(widget->setProperty(name.constData(), value));
    QVERIFY(widget->setProperty(name.constData(), value));
    QCOMPARE(changed.count(), changes);
    QCOMPARE(notices.count(), 2);
    QCOMPARE(widget->getMove(), getMoveAfter);
  }

  void theToolboxPictureIsTheHandMadeRows() {
    const QImage image = BoardWidget::toolboxImage();
    const ToolboxPicture& rows = Toolbox();
    QCOMPARE(image.size(), QSize(ToolboxPicture::kWidth, ToolboxPicture::kHeight));
    for (int y = 0; y < ToolboxPicture::kHeight; ++y) {
      for (int x = 0; x < ToolboxPicture::kWidth; ++x) {
        const Rgb rgb = rows.palette[rows.pixels[y * ToolboxPicture::kWidth + x]];
        QCOMPARE(QColor(image.pixel(x, y)), QColor(rgb.r, rgb.g, rgb.b));
      }
    }
  }

  void aWriteBeforeShowingActsAtOnce() {
    BoardWidget widget;
    widget.setShowLastMove(false);
    widget.setAnimationTime(0);
    QSignalSpy changed(&widget, &BoardWidget::changed);
    QSignalSpy notices(&widget, &BoardWidget::putMoveChanged);
    widget.setPutMove("E2-E4");
    QCOMPARE(widget.getMove(), QString("E2-E4"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(notices.count(), 1);
    widget.resize(widget.sizeHint());
    const QString after = Rows({"RNBQKBNR", "PPPP*PPP", "********", "****P***", "********",
                                "********", "pppppppp", "rnbqkbnr"});
    QCOMPARE(SquareImage(Render(&widget, 1), u"E4"), Reference(after, u"E4"));
  }

  void aPromotionIsAnsweredOnTheChooser_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("piece");
    QTest::newRow("queen") << 0 << "Q";
    QTest::newRow("rook") << 1 << "R";
    QTest::newRow("bishop") << 2 << "B";
    QTest::newRow("knight") << 3 << "N";
  }

  void aPromotionIsAnsweredOnTheChooser() {
    QFETCH(int, choice);
    QFETCH(QString, piece);
    const auto widget = ShownWidget(kPawnOnA7);
    ClickSquare(widget.get(), u"A7");
    const QRect file = SquareRect(u"A8").united(SquareRect(u"A5"));
    const QImage before = Render(widget.get(), 1).copy(file);
    ClickSquare(widget.get(), u"A8");
    QVERIFY(Render(widget.get(), 1).copy(file) != before);
    ClickChoice(widget.get(), u"A8", static_cast<std::int16_t>(choice));
    QCOMPARE(widget->getMove(), QString("A7-A8"));
    const QString promoted = Rows({"****K***", "********", "********", "********", "********",
                                   "********", "********", (piece + "***k***").toLatin1()});
    QCOMPARE(SquareImage(Render(widget.get(), 1), u"A8"), Reference(promoted, u"A8"));
  }

  void escapeClosesTheChooserAndDropsTheMove() {
    const auto widget = ShownWidget(kPawnOnA7);
    ClickSquare(widget.get(), u"A7");
    ClickSquare(widget.get(), u"A8");
    QTest::keyClick(widget.get(), Qt::Key_Escape);
    QCOMPARE(widget->getMove(), QString("A7"));
    const QImage shown = Render(widget.get(), 1);
    QCOMPARE(SquareImage(shown, u"A7"), Reference(kPawnOnA7, u"A7"));
    QCOMPARE(SquareImage(shown, u"A8"), Reference(kPawnOnA7, u"A8"));
  }

  void deletingWhileTheChooserIsShownIsSafe_data() {
    QTest::addColumn<bool>("later");
    QTest::newRow("delete") << false;
    QTest::newRow("deleteLater") << true;
  }

  void deletingWhileTheChooserIsShownIsSafe() {
    QFETCH(bool, later);
    QPointer<BoardWidget> widget = ShownWidget(kPawnOnA7).release();
    int changes = 0;
    connect(widget, &BoardWidget::changed, [&] { ++changes; });
    ClickSquare(widget, u"A7");
    ClickSquare(widget, u"A8");
    if (later) {
      widget->deleteLater();
    } else {
      delete widget.data();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(widget.isNull());
    QCOMPARE(changes, 1);  // the pick; the dropped move wrote nothing
  }

  // The core decides both; the widget answers false for a refused position and hands on
  // AfterMove's three texts after changed().
  void refusesABadPositionAndReportsAPersonsMoveAfterChanged() {
    const auto widget = ShownWidget(Rows({"R***K**R", "PPPPPPPP", "********", "********",
                                          "********", "********", "pppppppp", "r***k**r"}));
    QVERIFY(!widget->setPutPosition("bad"));
    QStringList heard;
    connect(widget.get(), &BoardWidget::changed, [&] { heard << widget->getMove(); });
    connect(widget.get(), &BoardWidget::afterMove,
            [&](const QString& from, const QString& to, const QString& promotion) {
              heard << from + " " + to + " [" + promotion + "]";
            });
    ClickSquare(widget.get(), u"E1");
    ClickSquare(widget.get(), u"G1");
    QCOMPARE(heard, QStringList({"E1", "E1-G1", "E1 G1 []"}));
  }

  void aDisabledWidgetTakesNoInput() {
    const auto widget = ShownWidget();
    widget->setEnabled(false);
    QSignalSpy changed(widget.get(), &BoardWidget::changed);
    QSignalSpy clicked(widget.get(), &BoardWidget::clicked);
    // Sent straight to the widget, past Qt's own filter for disabled widgets: the core decides.
    ClickSquare(widget.get(), u"E2");
    ClickAt(widget.get(), QPoint(2, 2));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(clicked.count(), 0);
    widget->setEnabled(true);
    ClickSquare(widget.get(), u"E2");
    QCOMPARE(changed.count(), 1);
  }

  void surfaceMouseEventsPassTheirStorage() {
    const auto widget = ShownWidget();
    QList<QList<float>> downs;
    // The first handler moves the point; the second sees the moved one, as the next sink would.
    connect(widget.get(), &BoardWidget::mouseDown,
            [](short&, short&, float& x, float&) { x = 1.5f; });
    connect(widget.get(), &BoardWidget::mouseDown,
            [&](short& button, short& shift, float& x, float& y) {
              downs.append({float(button), float(shift), x, y});
            });
    QSignalSpy clicked(widget.get(), &BoardWidget::clicked);
    int ups = 0;
    connect(widget.get(), &BoardWidget::mouseUp, [&](short&, short&, float&, float&) { ++ups; });
    // Wider than tall: the board stands 30 pixels in from the left edge.
    widget->resize(460, 400);
    ClickAt(widget.get(), QPoint(2, 3));
    QCOMPARE(downs, (QList<QList<float>>{{1, 0, 1.5f, 3 * 720 / 50.0f}}));
    QCOMPARE(ups, 1);
    QCOMPARE(clicked.count(), 1);
    // Over a square the control takes the click itself.
    ClickSquare(widget.get(), u"E2");
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(downs.size(), 1);
  }

  void keysReachTheHostAsVirtualKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");
    QTest::newRow("letter") << int(Qt::Key_Q) << 0 << 0x51 << 0;
    QTest::newRow("digit with shift") << int(Qt::Key_5) << int(Qt::ShiftModifier) << 0x35 << 1;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << 0 << 0x25 << 0;
    QTest::newRow("down arrow with ctrl")
        << int(Qt::Key_Down) << int(Qt::ControlModifier) << 0x28 << 2;
    QTest::newRow("return") << int(Qt::Key_Return) << 0 << 0x0D << 0;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 0 << 0x0D << 0;
    QTest::newRow("space with alt") << int(Qt::Key_Space) << int(Qt::AltModifier) << 0x20 << 4;
    QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << 0x1B << 0;
    QTest::newRow("home") << int(Qt::Key_Home) << 0 << 0x24 << 0;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << 0x70 << 0;
    QTest::newRow("F12") << int(Qt::Key_F12) << 0 << 0x7B << 0;
    QTest::newRow("comma") << int(Qt::Key_Comma) << 0 << 0xBC << 0;
    QTest::newRow("closing bracket") << int(Qt::Key_BracketRight) << 0 << 0xDD << 0;
  }

  void keysReachTheHostAsVirtualKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, keyCode);
    QFETCH(int, shift);
    const auto widget = ShownWidget();
    QList<int> downs, ups;
    connect(widget.get(), &BoardWidget::keyDown,
            [&](short& code, short& s) { downs << code << s; });
    connect(widget.get(), &BoardWidget::keyUp, [&](short& code, short& s) { ups << code << s; });
    QTest::keyClick(widget.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    // A modifier is a key of its own, pressed before and released after.
    QVERIFY(downs.size() >= 2 && ups.size() >= 2);
    QCOMPARE(downs.mid(downs.size() - 2), (QList<int>{keyCode, shift}));
    QCOMPARE(ups.mid(0, 2), (QList<int>{keyCode, shift}));
  }

  void aCharacterFollowsItsKey() {
    const auto widget = ShownWidget();
    QList<int> seen;
    connect(widget.get(), &BoardWidget::keyDown, [&](short& code, short&) { seen << code; });
    connect(widget.get(), &BoardWidget::keyPress, [&](short& ascii) { seen << ascii; });
    QKeyEvent capital(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A");
    QApplication::sendEvent(widget.get(), &capital);
    QTest::keyClick(widget.get(), Qt::Key_Left);
    QCOMPARE(seen, (QList<int>{0x41, 'A', 0x25}));
  }

  void aDoubleClickCountsOnce() {
    const auto widget = ShownWidget();
    QSignalSpy changed(widget.get(), &BoardWidget::changed);
    QSignalSpy doubles(widget.get(), &BoardWidget::doubleClicked);
    QSignalSpy clicked(widget.get(), &BoardWidget::clicked);
    DoubleClickAt(widget.get(), SquareRect(u"E2").center());
    QCOMPARE(changed.count(), 1);  // one pick from the first click of the two
    QCOMPARE(doubles.count(), 0);  // a square takes no double click
    widget->resize(460, 400);      // room beside the board
    DoubleClickAt(widget.get(), QPoint(2, 2));
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(clicked.count(), 1);
  }

  void movesByKeys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("getMove");
    QTest::newRow("a pawn's double step") << "Right Right Right Right Up Space Up Up Return"
                                          << "E2-E4";
    QTest::newRow("a knight from the row's end") << "End Left Space Up Up Left Return"
                                                 << "G1-F3";
    QTest::newRow("a pick from the far corner") << "Ctrl+Home Space"
                                                << "A8";
    QTest::newRow("short castling") << "Right Right Right Right Space Right Right Return"
                                    << "E1-G1";
  }

  void movesByKeys() {
    QFETCH(QString, keys);
    QFETCH(QString, getMove);
    const auto widget = ShownWidget();
    if (QTest::currentDataTag() == QByteArray("short castling")) {
      widget->setPutPosition(Rows({"RNBQK**R", "PPPPPPPP", "********", "********", "********",
                                   "********", "pppppppp", "rnbqkbnr"}));
    }
    PressKeys(widget.get(), keys);
    QCOMPARE(widget->getMove(), getMove);
  }

  void aPromotionIsChosenByKeysOnTheChooser_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("piece");
    QTest::newRow("by letter") << "N"
                               << "N";
    QTest::newRow("by arrows") << "Down Down Return"
                               << "B";
    QTest::newRow("queen first") << "Space"
                                 << "Q";
  }

  void aPromotionIsChosenByKeysOnTheChooser() {
    QFETCH(QString, keys);
    QFETCH(QString, piece);
    const auto widget = ShownWidget(kPawnOnA7);
    PressKeys(widget.get(), "Ctrl+Home Down Space Up Return");
    PressKeys(widget.get(), keys);
    QCOMPARE(widget->getMove(), QString("A7-A8"));
    widget->clearFocus();  // the focus mark goes with the focus
    const QString promoted = Rows({"****K***", "********", "********", "********", "********",
                                   "********", "********", (piece + "***k***").toLatin1()});
    QCOMPARE(SquareImage(Render(widget.get(), 1), u"A8"), Reference(promoted, u"A8"));
  }

  void keysTheHostTakesOrADisabledBoardGetsDoNothing_data() {
    QTest::addColumn<bool>("hostTakesSpace");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("the host takes the key") << true << true;
    QTest::newRow("disabled") << false << false;
  }

  void keysTheHostTakesOrADisabledBoardGetsDoNothing() {
    QFETCH(bool, hostTakesSpace);
    QFETCH(bool, enabled);
    const auto widget = ShownWidget();
    int downs = 0;
    connect(widget.get(), &BoardWidget::keyDown, [&](short& code, short&) {
      ++downs;
      if (hostTakesSpace && code == 0x20) code = 0;
    });
    widget->setEnabled(enabled);
    PressKeys(widget.get(), "Up Space");
    QCOMPARE(widget->getMove(), QString());
    QCOMPARE(downs, enabled ? 2 : 0);
  }

  void theFocusMarkShowsOnlyAfterNavigation() {
    // Made first: showing another window takes the focus away.
    const QString after = Rows({"RNBQKBNR", "PPPP*PPP", "********", "****P***", "********",
                                "********", "pppppppp", "rnbqkbnr"});
    const QImage e4 = Reference(after, u"E4");
    const QImage f4 = Reference(after, u"F4");
    const auto widget = ShownWidget();
    ClickSquare(widget.get(), u"E2");
    ClickSquare(widget.get(), u"E4");
    widget->activateWindow();
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
    // A mouse user sees no mark, focus or not.
    QCOMPARE(SquareImage(Render(widget.get(), 1), u"E4"), e4);
    PaintRecorder recorder;
    widget->installEventFilter(&recorder);
    QTest::qWait(20);  // whatever showing and activating still had to paint
    recorder.painted = QRegion();
    PressKeys(widget.get(), "Right");
    QTRY_VERIFY(!recorder.painted.isEmpty());
    QCOMPARE(recorder.painted, QRegion(SquareRect(u"F4")));
    QVERIFY(SquareImage(Render(widget.get(), 1), u"F4") != f4);
    widget->clearFocus();
    QCOMPARE(SquareImage(Render(widget.get(), 1), u"F4"), f4);
  }

  void keysTheBoardLeavesReachTheContainer() {
    QDialog dialog;
    auto* board = new BoardWidget(&dialog);
    dialog.show();
    board->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(board, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
  }

  void theBoardReadsAsATableOfNamedCells_data() {
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("A1") << 1 << int(QAccessible::Cell) << "A1, white rook";
    QTest::newRow("E2") << 13 << int(QAccessible::Cell) << "E2, white pawn";
    QTest::newRow("E3") << 21 << int(QAccessible::Cell) << "E3, empty";
    QTest::newRow("E8") << 61 << int(QAccessible::Cell) << "E8, black king";
    QTest::newRow("the move display") << 65 << int(QAccessible::StaticText) << "";
  }

  void theBoardReadsAsATableOfNamedCells() {
    QFETCH(int, part);
    QFETCH(int, role);
    QFETCH(QString, name);
    const auto widget = ShownWidget();
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(widget.get());
    QVERIFY(board != nullptr);
    QCOMPARE(board->role(), QAccessible::Table);
    QCOMPARE(board->text(QAccessible::Name), QString("Chess board"));
    QCOMPARE(board->childCount(), 65);
    QAccessibleInterface* cell = board->child(part - 1);
    QVERIFY(cell != nullptr);
    QCOMPARE(int(cell->role()), role);
    QCOMPARE(cell->text(QAccessible::Name), name);
    QCOMPARE(board->indexOfChild(cell), part - 1);
    QCOMPARE(cell->parent(), board);
    const QRect where = cell->rect();
    QCOMPARE(board->childAt(where.center().x(), where.center().y()), cell);
  }

  void theSquaresFormAnEightByEightTable_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("name");
    QTest::newRow("top left") << 0 << 0 << 0 << "A8, black rook";
    QTest::newRow("top right") << 0 << 0 << 7 << "H8, black rook";
    QTest::newRow("bottom left") << 0 << 7 << 0 << "A1, white rook";
    QTest::newRow("the white king") << 0 << 7 << 4 << "E1, white king";
    QTest::newRow("an empty middle") << 0 << 4 << 3 << "D4, empty";
    QTest::newRow("turned: top left") << 1 << 0 << 0 << "H1, white rook";
    QTest::newRow("turned: top right") << 1 << 0 << 7 << "A1, white rook";
    QTest::newRow("turned: bottom left") << 1 << 7 << 0 << "H8, black rook";
    QTest::newRow("turned: the white king") << 1 << 0 << 3 << "E1, white king";
    QTest::newRow("turned: an empty middle") << 1 << 3 << 4 << "D4, empty";
  }

  // Cells are numbered by where they are drawn, and lie there.
  void theSquaresFormAnEightByEightTable() {
    QFETCH(int, orientation);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, name);
    const auto widget = ShownWidget();
    QVERIFY(widget->setOrientation(orientation));
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(widget.get());
    QAccessibleTableInterface* table = board->tableInterface();
    QVERIFY(table != nullptr);
    QCOMPARE(table->rowCount(), 8);
    QCOMPARE(table->columnCount(), 8);
    QAccessibleInterface* cell = table->cellAt(row, column);
    QVERIFY(cell != nullptr);
    QCOMPARE(cell->text(QAccessible::Name), name);
    QCOMPARE(cell->tableCellInterface()->rowIndex(), row);
    QCOMPARE(cell->tableCellInterface()->columnIndex(), column);
    QCOMPARE(table->rowDescription(row) + table->columnDescription(column),
             name.mid(1, 1) + name.left(1));
    const QRect drawn = DrawnSquareRect(name.left(2), orientation);
    QCOMPARE(cell->rect(), QRect(widget->mapToGlobal(drawn.topLeft()), drawn.size()));
  }

  void aPickReadsOnItsSquare() {
    const auto widget = ShownWidget();
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(widget.get());
    QAccessibleInterface* e2 = board->child(12);
    QVERIFY(!e2->state().selected);
    ClickSquare(widget.get(), u"E2");
    QCOMPARE(e2->text(QAccessible::Name), QString("E2, white pawn, picked up"));
    QVERIFY(e2->state().selected);
    QCOMPARE(board->tableInterface()->selectedCells(), QList<QAccessibleInterface*>{e2});
    QCOMPARE(board->child(64)->text(QAccessible::Value), QString("E2"));
    QCOMPARE(e2->rect(), QRect(widget->mapToGlobal(SquareRect(u"E2").topLeft()), QSize(50, 50)));
    widget->setEnabled(false);
    QVERIFY(e2->state().disabled);
  }

  void theChoosersButtonsAreThereWhileItIsShown() {
    const auto widget = ShownWidget(kPawnOnA7);
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(widget.get());
    ClickSquare(widget.get(), u"A7");
    QStringList names;
    ClickSquare(widget.get(), u"A8");
    const int count = board->childCount();
    for (int index = 65; index < count; ++index) {
      QCOMPARE(board->child(index)->role(), QAccessible::Button);
      names << board->child(index)->text(QAccessible::Name);
    }
    ClickChoice(widget.get(), u"A8", 0);
    QCOMPARE(count, 69);
    QCOMPARE(names, QStringList({"white queen", "white rook", "white bishop", "white knight"}));
    QCOMPARE(board->childCount(), 65);
    QCOMPARE(board->child(64)->text(QAccessible::Name),
             QString("white pawn A7 to A8, promoted to queen"));
  }

  void aPressOnAPartIsQueued() {
    const auto widget = ShownWidget();
    QAccessibleInterface* e2 = QAccessible::queryAccessibleInterface(widget.get())->child(12);
    QAccessibleActionInterface* actions = e2->actionInterface();
    QVERIFY(actions != nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(widget->getMove(), QString());
    QCoreApplication::processEvents();
    QCOMPARE(widget->getMove(), QString("E2"));
  }

  void updateEventsAreRaisedAtTheSource() {
    const auto widget = ShownWidget();
    Raised raised;
    CaptureAccessibility(*widget, raised);
    ClickSquare(widget.get(), u"E2");
    QVERIFY(raised.contains({QAccessible::SelectionAdd, 12}));
    QVERIFY(raised.contains({QAccessible::NameChanged, 12}));
    QVERIFY(raised.contains({QAccessible::ValueChanged, 64}));
    raised.clear();
    ClickSquare(widget.get(), u"E4");
    QVERIFY(raised.contains({QAccessible::SelectionRemove, 12}));
    // The move is announced through the move display's name.
    QVERIFY(raised.contains({QAccessible::NameChanged, 64}));
    raised.clear();
    widget->activateWindow();
    widget->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(widget.get()));
    PressKeys(widget.get(), "Right");
    QVERIFY(raised.contains({QAccessible::Focus, 28}));  // E4 was clicked; F4 is part 30
  }

  void atTwiceTheDensityPiecesAreDrawnSharp() {
    const auto widget = ShownWidget();
    const QImage twice = Render(widget.get(), 2);
    QCOMPARE(twice.size(), QSize(800, 800));
    for (const char16_t* square : {u"E1", u"D8", u"B1"}) {
      const QImage once = SquareImage(Render(widget.get(), 1), square);
      const QImage sharp = SquareImage(twice, square);
      QCOMPARE(sharp.size(), QSize(100, 100));
      // Edge pixels (neither the square's colour nor ink) run along the outlines: drawn at the
      // device's own size their count doubles with the edge length; a picture enlarged from 1x
      // would have four times as many, each one a 2 x 2 block.
      const int edges_once = EdgePixels(once);
      const int edges_twice = EdgePixels(sharp);
      QVERIFY2(edges_once > 20, qPrintable(QString::number(edges_once)));
      QVERIFY2(edges_twice < 3 * edges_once,
               qPrintable(QString("%1 at 2x, %2 at 1x").arg(edges_twice).arg(edges_once)));
      QImage enlarged = once.scaled(100, 100, Qt::IgnoreAspectRatio, Qt::FastTransformation);
      enlarged.setDevicePixelRatio(2);
      QVERIFY(sharp != enlarged);
    }
  }

  void renderingsAtOtherRatiosLeaveTheFirstAlone() {
    const auto widget = ShownWidget();
    const QImage first = Render(widget.get(), 1);
    for (const qreal ratio : {2.0, 3.0, 1.5, 4.0}) {
      QCOMPARE(Render(widget.get(), ratio).size(), widget->size() * ratio);
    }
    QCOMPARE(Render(widget.get(), 1), first);
  }

  void onlyChangedSquaresAreRepainted() {
    const auto widget = ShownWidget();
    // Until the board is first drawn its empty squares hold the design's blank icon.
    widget->setPutMove("**");
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    PaintRecorder recorder;
    widget->installEventFilter(&recorder);
    QCoreApplication::processEvents();
    recorder.painted = QRegion();
    widget->setPutMove("E2-E4");
    QTRY_VERIFY(!recorder.painted.isEmpty());
    QCoreApplication::processEvents();
    const QRegion expected = QRegion(SquareRect(u"E2")) + SquareRect(u"E4");
    QCOMPARE(recorder.painted, expected);
  }

  // Black at the bottom: clicks, drags and keys land where the squares are drawn. Turned, Left
  // goes toward column H and Down toward row 8, so from A1 four Lefts and a Down reach E2; the
  // Up after the second Down comes back to E2 only if Up goes toward row 1.
  void aTurnedBoardTakesInputWhereItIsDrawn_data() {
    QTest::addColumn<QString>("input");  // "click" or "drag" and squares, else keys
    QTest::addColumn<QString>("getMove");
    QTest::newRow("clicks") << "click G1 F3"
                            << "G1-F3";
    QTest::newRow("a drag") << "drag D7 D5"
                            << "D7-D5";
    QTest::newRow("keys: Up goes toward row 1")
        << "Left Left Left Left Down Down Up Space Down Down Return"
        << "E2-E4";
  }

  void aTurnedBoardTakesInputWhereItIsDrawn() {
    QFETCH(QString, input);
    QFETCH(QString, getMove);
    const auto widget = ShownWidget();
    QVERIFY(widget->setOrientation(1));
    const QStringList words = input.split(' ');
    if (words[0] == "click") {
      for (const QString& square : words.mid(1))
        ClickAt(widget.get(), DrawnSquareRect(square, 1).center());
    } else if (words[0] == "drag") {
      DragTo(widget.get(), DrawnSquareRect(words[1], 1).center(),
             DrawnSquareRect(words[2], 1).center());
    } else {
      PressKeys(widget.get(), input);
    }
    QCOMPARE(widget->getMove(), getMove);
    QCOMPARE(widget->lastMove(), getMove);
  }

  // The last move's two squares tinted, a glow on the check square, a circle and an arrow, white
  // or black at the bottom, at 1x and 2x: the widget's pixels are the core's own render of its
  // board, and each change repaints the squares it touches.
  void theLastMoveAndTheCheckArePainted_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<qreal>("ratio");
    for (const int orientation : {0, 1}) {
      for (const qreal ratio : {1.0, 2.0}) {
        QTest::addRow("orientation %d at %gx", orientation, ratio) << orientation << ratio;
      }
    }
  }

  // In a window's layout the board follows the window as it grows and shrinks: square, centred,
  // and drawn as the core renders it at that size.
  void aLayoutGrowsAndShrinksTheBoard() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* board = new BoardWidget;
    layout->addWidget(board);
    QVERIFY(board->setCoordinates(0));  // Qt lays out the letters' text its own way
    QCOMPARE(layout->heightForWidth(300), 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const BoardControl& control = *WidgetAccess::Of(*board).control;
    for (const QSize size : {QSize(640, 700), QSize(200, 260), QSize(500, 300)}) {
      window.resize(size);
      QTRY_COMPARE(board->size(), size);
      const int side = std::min(size.width(), size.height()) / 8 * 8;
      const QRect squares((size.width() - side) / 2, (size.height() - side) / 2, side, side);
      const RgbImage core =
          PngRenderer(ScaleOnArea(control.surface(), {0, 0, size.width(), size.height()}, 1))
              .Render(BuildDisplayList(control.surface(), control.GetMove()));
      QCOMPARE(PixelsOffTheCoresRender(Render(board, 1), core, squares), 0);
      // A click just inside the board's corner picks A8's rook; a second puts it back.
      const QPoint a8 = squares.topLeft() + QPoint(2, 2);
      ClickAt(board, a8);
      QCOMPARE(board->getMove(), QString("A8"));
      ClickAt(board, a8);
    }
  }

  void theLastMoveAndTheCheckArePainted() {
    QFETCH(int, orientation);
    QFETCH(qreal, ratio);
    const auto widget = ShownWidget();
    QVERIFY(widget->setAnimationTime(0));
    QVERIFY(widget->setCoordinates(0));  // Qt lays out the letters' text its own way
    QVERIFY(widget->setShowLastMove(true));
    QVERIFY(widget->setOrientation(orientation));
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    PaintRecorder recorder;
    widget->installEventFilter(&recorder);
    QCoreApplication::processEvents();
    recorder.painted = QRegion();
    // G1 is dark and empty after the move, F3 light with the knight; D5 an empty light square.
    widget->setPutMove("G1-F3");
    QVERIFY(widget->setCheckSquare("D5"));
    QVERIFY(widget->setMarks("Re3 Bb2b5"));
    QTRY_VERIFY(recorder.painted.contains(DrawnSquareRect(u"D5", orientation)));
    QVERIFY(recorder.painted.contains(DrawnSquareRect(u"B4", orientation)));
    QVERIFY(recorder.painted.contains(DrawnSquareRect(u"G1", orientation)));
    QVERIFY(recorder.painted.contains(DrawnSquareRect(u"F3", orientation)));

    const BoardControl& control = *WidgetAccess::Of(*widget).control;
    const PixelBox area{0, 0, qCeil(widget->width() * ratio), qCeil(widget->height() * ratio)};
    PngRenderer core(ScaleOnArea(control.surface(), area, ratio));
    const RgbImage reference = core.Render(BuildDisplayList(control.surface(), control.GetMove()));
    const QImage rendering = Render(widget.get(), ratio);
    for (const char16_t* square : {u"G1", u"F3", u"D5", u"E3", u"B3", u"B4", u"C4"}) {
      const QRect drawn = DrawnSquareRect(square, orientation);
      QCOMPARE(PixelsOffTheCoresRender(rendering, reference, drawn), 0);
    }
    // The reference does show them: the tint's corner and the glow's middle are not the squares'
    // own colours.
    const int in = qRound(2 * ratio);
    const QRect g1 = DrawnSquareRect(u"G1", orientation);
    QVERIFY(reference.At(qRound(g1.left() * ratio) + in, qRound(g1.top() * ratio) + in) !=
            control.surface().SquareFill(7));
    const QPoint d5 = DrawnSquareRect(u"D5", orientation).center();
    QCOMPARE(reference.At(qRound(d5.x() * ratio), qRound(d5.y() * ratio)), kCheckGlow);
    const QPoint b3 = DrawnSquareRect(u"B3", orientation).center();
    QVERIFY(reference.At(qRound(b3.x() * ratio), qRound(b3.y() * ratio)) !=
            control.surface().SquareFill(18));

    // Cleared by the host: the squares repaint plain.
    recorder.painted = QRegion();
    QVERIFY(widget->setLastMove(""));
    QVERIFY(widget->setCheckSquare(""));
    QTRY_VERIFY(recorder.painted.contains(DrawnSquareRect(u"D5", orientation)));
    QVERIFY(recorder.painted.contains(g1));
    const QImage cleared = Render(widget.get(), ratio);
    const RgbImage plain = core.Render(BuildDisplayList(control.surface(), control.GetMove()));
    for (const char16_t* square : {u"G1", u"F3", u"D5"}) {
      QCOMPARE(PixelsOffTheCoresRender(cleared, plain, DrawnSquareRect(square, orientation)), 0);
    }
    QCOMPARE(plain.At(qRound(d5.x() * ratio), qRound(d5.y() * ratio)),
             control.surface().SquareFill(36));
  }

  // A finger on a touch screen drags a piece: the widget takes no touch events, so Qt turns the
  // touch into the mouse events a drag is made of.
  void aFingerDragsAPiece() {
    const auto widget = ShownWidget();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    const std::unique_ptr<QPointingDevice> screen(QTest::createTouchDevice());
    const QPoint from = SquareRect(u"E2").center(), to = SquareRect(u"E4").center();
    QTest::touchEvent(widget.get(), screen.get()).press(0, from);
    QTest::touchEvent(widget.get(), screen.get())
        .move(0, from + QPoint(QApplication::startDragDistance() + 1, 0));
    QTest::touchEvent(widget.get(), screen.get()).move(0, to);
    QTest::touchEvent(widget.get(), screen.get()).release(0, to);
    QCOMPARE(widget->getMove(), QString("E2-E4"));
  }

  void dragsEndAsTheirDropSays_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("legalMoves");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("interruption");
    QTest::addColumn<QString>("getMove");
    QTest::addColumn<QString>("fen");
    struct Case {
      const char* name;
      QString position;
      const char *legal, *from, *to;
      Interruption interruption;
      const char *get_move, *fen;
    };
    const char* initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    const QString pawns = Rows({"****K***", "********", "********", "***p****", "****P***",
                                "********", "********", "****k***"});
    const QString castling = Rows({"R***K**R", "PPPPPPPP", "********", "********", "********",
                                   "********", "pppppppp", "r***k**r"});
    const Case cases[] = {
        {"a move", kInitial, "", "E2", "E4", Interruption::kNone, "E2-E4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR"},
        {"a capture", pawns, "", "E5", "D4", Interruption::kNone, "E5-D4", "4k3/8/8/8/3P4/8/8/4K3"},
        {"castling by the king", castling, "", "E1", "G1", Interruption::kNone, "E1-G1",
         "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R4RK1"},
        {"a drop off the board", kInitial, "", "E2", "off", Interruption::kNone, "E2", initial},
        {"a drop on its own square", kInitial, "", "E2", "E2", Interruption::kNone, "E2", initial},
        {"Escape during the drag", kInitial, "", "E2", "E4", Interruption::kEscape, "E2", initial},
        {"another window takes the input", kInitial, "", "E2", "E4", Interruption::kOtherWindow,
         "E2", initial},
        {"a drop on an unlisted square", kInitial, "E2-E4 G1-F3", "E2", "E3", Interruption::kNone,
         "E2", initial},
    };
    for (const Case& c : cases) {
      QTest::newRow(c.name) << c.position << c.legal << c.from << c.to << int(c.interruption)
                            << c.get_move << c.fen;
    }
  }

  void dragsEndAsTheirDropSays() {
    QFETCH(QString, position);
    QFETCH(QString, legalMoves);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, interruption);
    QFETCH(QString, getMove);
    QFETCH(QString, fen);
    const auto widget = ShownWidget(position);
    QVERIFY(widget->setLegalMoves(legalMoves));
    QSignalSpy changed(widget.get(), &BoardWidget::changed);
    DragTo(widget.get(), SquareRect(from).center(), DropPoint(to), Interruption(interruption));
    QCOMPARE(widget->getMove(), getMove);
    QCOMPARE(widget->fen(), fen);
    QCOMPARE(changed.count(), getMove == from ? 1 : 2);  // the lift's pick, then the move
  }

  // Qt's drag distance, not a smaller one: a press just inside E2 that moves that far up into E3
  // lifts nothing, and its release over another square makes no click.
  void aPressThatStaysWithinTheDragDistanceLiftsNothing() {
    const auto widget = ShownWidget();
    const QPoint pressed(SquareRect(u"E2").center().x(), SquareRect(u"E2").top() + 1);
    const QPoint released = pressed - QPoint(0, QApplication::startDragDistance());
    QVERIFY(SquareRect(u"E3").contains(released));
    QTest::mousePress(widget.get(), Qt::LeftButton, {}, pressed);
    QTest::mouseMove(widget.get(), released);
    QTest::mouseRelease(widget.get(), Qt::LeftButton, {}, released);
    QCOMPARE(widget->getMove(), QString());
  }

  void aDragFrameRepaintsAroundThePieceOnly() {
    const auto widget = ShownWidget();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    const QPoint e2 = SquareRect(u"E2").center();
    const QPoint lifted = e2 + QPoint(QApplication::startDragDistance() + 1, 0);
    QTest::mousePress(widget.get(), Qt::LeftButton, {}, e2);
    QTest::mouseMove(widget.get(), lifted);
    QCoreApplication::processEvents();
    PaintRecorder recorder;
    widget->installEventFilter(&recorder);
    const QPoint next = lifted + QPoint(0, -30);
    QTest::mouseMove(widget.get(), next);
    QTRY_VERIFY(!recorder.painted.isEmpty());
    // The piece's box before and after the move, with room for where it sits on the pointer.
    const QSize square = SquareRect(u"E2").size();
    QRect around = QRect(QPoint(), square * 2);
    QRegion allowed = around.translated(lifted - around.center());
    allowed += around.translated(next - around.center());
    QCOMPARE(recorder.painted.subtracted(allowed), QRegion());
    QTest::mouseRelease(widget.get(), Qt::LeftButton, {}, next);
  }

  void aCancelInBeforeMoveLeavesTheMoveUnmade_data() {
    QTest::addColumn<bool>("byDrag");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("getMove");
    QTest::newRow("clicks, cancelled") << false << true << "E2";
    QTest::newRow("a drag, cancelled") << true << true << "E2";
    QTest::newRow("clicks, let through") << false << false << "E2-E4";
  }

  void aCancelInBeforeMoveLeavesTheMoveUnmade() {
    QFETCH(bool, byDrag);
    QFETCH(bool, cancel);
    QFETCH(QString, getMove);
    const auto widget = ShownWidget();
    QStringList asked;
    connect(widget.get(), &BoardWidget::beforeMove,
            [&](const QString& from, const QString& to, const QString& promotion, bool& veto) {
              asked << from << to << promotion;
              veto = cancel;
            });
    const QString before = widget->fen();
    if (byDrag) {
      DragTo(widget.get(), SquareRect(u"E2").center(), SquareRect(u"E4").center());
    } else {
      ClickSquare(widget.get(), u"E2");
    }
    QSignalSpy changed(widget.get(), &BoardWidget::changed);
    if (!byDrag) ClickSquare(widget.get(), u"E4");
    QCOMPARE(asked, QStringList({"E2", "E4", ""}));
    QCOMPARE(widget->getMove(), getMove);
    QCOMPARE(changed.count(), byDrag || cancel ? 0 : 1);
    QCOMPARE(widget->fen() == before, cancel);
  }

  // Moc reads literal property lines, so this compares them with the member table: every
  // member a host sees (Enabled is QWidget's own) in the table's order, lower camel case, of
  // the kind's type, with its notice.
  void thePropertiesAreTheMemberTable() {
    const QMetaObject* meta = BoardWidget().metaObject();
    CompareWithTheMemberTable(*meta, "the widget");
  }

  void setsUpAPositionByMouseAndKeys_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("gestures");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("edited");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QStringList>("pressed");
    const QString kings = "4k3/8/8/8/8/8/8/4K3";
    const QString note = "a note";
    QTest::newRow("a spare white queen dragged onto D4")
        << kings << "drag spare:7 D4" << note << "4k3/8/8/8/3Q4/8/8/4K3" << 1 << note
        << QStringList();
    QTest::newRow("a board piece dragged elsewhere, no rule")
        << kings << "drag E1 D2" << note << "4k3/8/8/8/8/8/3K4/8" << 1 << note << QStringList();
    QTest::newRow("a board piece dragged off the board")
        << kings << "drag E8 off" << note << "8/8/8/8/8/8/8/4K3" << 1 << note << QStringList();
    QTest::newRow("the black queen armed, then put by two clicks")
        << kings << "click spare:1 click D4 click D5" << note << "4k3/8/8/3q4/3q4/8/8/4K3" << 2
        << note << QStringList({"spare black queen"});
    QTest::newRow("the eraser armed, then a click")
        << kings << "click spare:12 click E8" << note << "8/8/8/8/8/8/8/4K3" << 1 << note
        << QStringList({"eraser"});
    QTest::newRow("a letter") << kings << "click D4 key Q" << note << "4k3/8/8/8/3Q4/8/8/4K3" << 1
                              << note << QStringList();
    QTest::newRow("Shift and a letter") << kings << "click D4 key Shift+N" << note
                                        << "4k3/8/8/8/3n4/8/8/4K3" << 1 << note << QStringList();
    QTest::newRow("Delete") << kings << "click E1 key Delete" << note << "4k3/8/8/8/8/8/8/8" << 1
                            << note << QStringList();
    QTest::newRow("Backspace") << kings << "click E8 key Backspace" << note << "8/8/8/8/8/8/8/4K3"
                               << 1 << note << QStringList();
    QTest::newRow("Ctrl+C copies the whole record")
        << "r3k3/8/8/8/8/8/8/4K2R"
        << "key Ctrl+C" << note << "r3k3/8/8/8/8/8/8/4K2R" << 0
        << "r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1" << QStringList();
    QTest::newRow("Ctrl+V loads a record")
        << kings << "key Ctrl+V"
        << "8/8/8/8/8/8/8/K6k w - - 0 1"
        << "8/8/8/8/8/8/8/K6k" << 1 << "8/8/8/8/8/8/8/K6k w - - 0 1" << QStringList();
    QTest::newRow("Ctrl+V of a text that is no position changes nothing")
        << kings << "key Ctrl+V" << note << kings << 0 << note << QStringList();
  }

  // Edit mode through the widget's own mouse and keys, inside a window whose shortcuts would take
  // Delete, Backspace, Ctrl+C and Ctrl+V: the board takes them first. No move is made, so no
  // beforeMove, changed or afterMove; an armed spare place reads as a pressed button.
  void setsUpAPositionByMouseAndKeys() {
    QFETCH(QString, before);
    QFETCH(QString, gestures);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);
    QFETCH(int, edited);
    QFETCH(QString, clipboardAfter);
    QFETCH(QStringList, pressed);
    QWidget window;
    int shortcuts = 0;
    for (const char* key : {"Ctrl+C", "Ctrl+V", "Delete", "Backspace"}) {
      auto* action = new QAction(&window);
      action->setShortcut(QKeySequence(QString::fromLatin1(key)));
      connect(action, &QAction::triggered, &window, [&shortcuts] { ++shortcuts; });
      window.addAction(action);
    }
    auto* widget = new BoardWidget(&window);
    widget->resize(widget->sizeHint());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    widget->setFocus();
    QVERIFY(widget->setAnimationTime(0));
    QVERIFY(widget->setFen(before));
    QVERIFY(widget->setEditMode(true));
    QGuiApplication::clipboard()->setText(clipboard);
    QSignalSpy positionEdited(widget, &BoardWidget::positionEdited);
    int moves = 0;
    const auto count = [&moves] { ++moves; };
    connect(widget, &BoardWidget::beforeMove, &window, count);
    connect(widget, &BoardWidget::changed, &window, count);
    connect(widget, &BoardWidget::afterMove, &window, count);
    PlayEdits(widget, gestures);
    QCOMPARE(widget->fen(), after);
    QCOMPARE(positionEdited.count(), edited);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
    QCOMPARE(shortcuts, 0);
    QCOMPARE(moves, 0);
    QCOMPARE(PressedButtons(*widget), pressed);
  }

  void theLaterMembersRoundTrip_data() {
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("read");
    QTest::addColumn<bool>("taken");
    QTest::newRow("dragEnabled") << "dragEnabled" << QVariant(false) << QVariant(false) << true;
    QTest::newRow("legalMoves as UCI")
        << "legalMoves" << QVariant("e2e4 g1f3 e7e8q") << QVariant("E2-E4 G1-F3 E7-E8") << true;
    QTest::newRow("showLegalMoves")
        << "showLegalMoves" << QVariant(false) << QVariant(false) << true;
    QTest::newRow("orientation") << "orientation" << QVariant(1) << QVariant(1) << true;
    QTest::newRow("orientation out of range")
        << "orientation" << QVariant(2) << QVariant(0) << false;
    QTest::newRow("lastMove") << "lastMove" << QVariant("E2-E4") << QVariant("E2-E4") << true;
    QTest::newRow("showLastMove") << "showLastMove" << QVariant(false) << QVariant(false) << true;
    QTest::newRow("checkSquare") << "checkSquare" << QVariant("E8") << QVariant("E8") << true;
    QTest::newRow("marks") << "marks" << QVariant("gD4,Rg1F3") << QVariant("Gd4 Rg1f3") << true;
    QTest::newRow("userMarks") << "userMarks" << QVariant("Yh8") << QVariant("Yh8") << true;
    QTest::newRow("animationTime") << "animationTime" << QVariant(0) << QVariant(0) << true;
    QTest::newRow("lightSquareColor") << "lightSquareColor" << QVariant(QColor(16, 32, 48))
                                      << QVariant(QColor(16, 32, 48)) << true;
    QTest::newRow("darkSquareColor, no colour")
        << "darkSquareColor" << QVariant(QColor()) << QVariant(QColor(181, 136, 99)) << false;
    QTest::newRow("fen, a whole record") << "fen" << QVariant("4k3/8/8/8/8/8/8/4K3 w - - 0 1")
                                         << QVariant("4k3/8/8/8/8/8/8/4K3") << true;
    QTest::newRow("fen, a bad row")
        << "fen" << QVariant("4k3/8/8") << QVariant("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR")
        << false;
  }

  // Through the meta-object, as a form loader writes them: a taken write sends its NOTIFY
  // signal, a refused one leaves the value and sends nothing.
  void theLaterMembersRoundTrip() {
    QFETCH(QString, property);
    QFETCH(QVariant, written);
    QFETCH(QVariant, read);
    QFETCH(bool, taken);
    const auto widget = ShownWidget();
    const QByteArray name = property.toLatin1();
    const QMetaProperty meta =
        widget->metaObject()->property(widget->metaObject()->indexOfProperty(name.constData()));
    QVERIFY(meta.isValid());
    QSignalSpy notices(widget.get(), meta.notifySignal());
    QSignalSpy changed(widget.get(), &BoardWidget::changed);
    QVERIFY(widget->setProperty(name.constData(), written));
    QCOMPARE(widget->property(name.constData()), read);
    QCOMPARE(notices.count(), taken ? 1 : 0);
    QCOMPARE(changed.count(), 0);
  }

  void aRefusedWriteAnswersFalseAndChangesNothing() {
    const auto widget = ShownWidget({}, true);
    QVERIFY(widget->setLegalMoves("E2-E4"));
    QSignalSpy notices(widget.get(), &BoardWidget::legalMovesChanged);
    QVERIFY(!widget->setLegalMoves("E2-E4 hello"));
    QCOMPARE(widget->legalMoves(), QString("E2-E4"));
    QCOMPARE(notices.count(), 0);
    QVERIFY(!widget->setAnimationTime(3000));
    QCOMPARE(widget->animationTime(), 150);
  }

  // The core decides the marks; the widget hands it the right button and its modifiers.
  void theRightButtonDrawsMarks() {
    const auto widget = ShownWidget();
    QSignalSpy drawn(widget.get(), &BoardWidget::userMarksDrawn);
    QTest::mouseClick(widget.get(), Qt::RightButton, Qt::ShiftModifier, SquareRect(u"D5").center());
    QCOMPARE(drawn.count(), 1);
    QCOMPARE(widget->userMarks(), QString("Rd5"));
    const QPoint g1 = SquareRect(u"G1").center(), f3 = SquareRect(u"F3").center();
    QTest::mousePress(widget.get(), Qt::RightButton, Qt::NoModifier, g1);
    QMouseEvent move(QEvent::MouseMove, f3, widget->mapToGlobal(f3), Qt::NoButton, Qt::RightButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget.get(), &move);
    QTest::mouseRelease(widget.get(), Qt::RightButton, Qt::NoModifier, f3);
    QCOMPARE(widget->userMarks(), QString("Rd5 Gg1f3"));
    QTest::mouseClick(widget.get(), Qt::LeftButton, Qt::NoModifier, SquareRect(u"A2").center());
    QCOMPARE(widget->userMarks(), QString());
    QCOMPARE(drawn.count(), 3);
  }

  // A host move slides on the widget's own timer and lands.
  void aHostMoveSlidesOnTheTimer() {
    const auto widget = ShownWidget({}, true);
    const Surface& surface = WidgetAccess::Of(*widget).control->surface();
    widget->setPutMove("E2-E4");
    QTRY_VERIFY_WITH_TIMEOUT(surface.IsLanding(29), 1000);
    QTRY_VERIFY_WITH_TIMEOUT(!surface.IsLanding(29), 1000);
    QCOMPARE(SquareImage(Render(widget.get(), 1), u"E4"),
             Reference(Rows({"RNBQKBNR", "PPPP*PPP", "********", "****P***", "********", "********",
                             "pppppppp", "rnbqkbnr"}),
                       u"E4"));
  }

  void aRightPressClosesTheChooserAndDropsTheMove() {
    const auto widget = ShownWidget(kPawnOnA7);
    ClickSquare(widget.get(), u"A7");
    ClickSquare(widget.get(), u"A8");
    Press(widget.get(), SquareRect(u"H1").center(), Qt::RightButton);
    Release(widget.get(), SquareRect(u"H1").center(), Qt::RightButton);
    QCOMPARE(widget->getMove(), QString("A7"));
    QCOMPARE(SquareImage(Render(widget.get(), 1), u"A7"), Reference(kPawnOnA7, u"A7"));
  }
};

}  // namespace velmora::testing

QTEST_MAIN(velmora::testing::BoardWidgetTest)
#include "board_widget_test.moc"
