#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QQuickPaintedItem>
#include <QRegion>
#include <QString>
#include <memory>

#include "control/board_control.h"
#include "control/members.h"
#include "control/pointer_input.h"
#include "control/presenter.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_colour.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/quick/quick_ports.h"

namespace velmora {

// The chess-board control as a Qt Quick item: `ChessBoard` of the QML module Velmora. Its
// properties are the widget's (the member table's, lower camel case, each with its notice;
// Enabled is the item's own `enabled`), as are its signals, with values for the widget's
// references: a beforeMove handler that calls cancelMove() leaves the piece picked and the board
// and getMove as they were. As the presenter's screen it paints what the presenter asks to
// repaint into its picture, updates that much of the scene, and runs the timer it asks for.
class QuickBoard : public QQuickPaintedItem, private Screen {
  Q_OBJECT
  QML_NAMED_ELEMENT(ChessBoard)
  Q_PROPERTY(QString getMove READ getMove WRITE setGetMove NOTIFY getMoveChanged)
  Q_PROPERTY(QString putMove READ putMove WRITE setPutMove NOTIFY putMoveChanged)
  Q_PROPERTY(QString putPosition READ putPosition WRITE setPutPosition NOTIFY putPositionChanged)
  Q_PROPERTY(bool dragEnabled READ dragEnabled WRITE setDragEnabled NOTIFY dragEnabledChanged)
  Q_PROPERTY(QString legalMoves READ legalMoves WRITE setLegalMoves NOTIFY legalMovesChanged)
  Q_PROPERTY(
      bool showLegalMoves READ showLegalMoves WRITE setShowLegalMoves NOTIFY showLegalMovesChanged)
  Q_PROPERTY(int orientation READ orientation WRITE setOrientation NOTIFY orientationChanged)
  Q_PROPERTY(QString lastMove READ lastMove WRITE setLastMove NOTIFY lastMoveChanged)
  Q_PROPERTY(bool showLastMove READ showLastMove WRITE setShowLastMove NOTIFY showLastMoveChanged)
  Q_PROPERTY(QString checkSquare READ checkSquare WRITE setCheckSquare NOTIFY checkSquareChanged)
  Q_PROPERTY(QString marks READ marks WRITE setMarks NOTIFY marksChanged)
  Q_PROPERTY(QString userMarks READ userMarks WRITE setUserMarks NOTIFY userMarksChanged)
  Q_PROPERTY(
      int animationTime READ animationTime WRITE setAnimationTime NOTIFY animationTimeChanged)
  Q_PROPERTY(QString fen READ fen WRITE setFen NOTIFY fenChanged)
  Q_PROPERTY(int theme READ theme WRITE setTheme NOTIFY themeChanged)
  Q_PROPERTY(QColor lightSquareColor READ lightSquareColor WRITE setLightSquareColor NOTIFY
                 lightSquareColorChanged)
  Q_PROPERTY(QColor darkSquareColor READ darkSquareColor WRITE setDarkSquareColor NOTIFY
                 darkSquareColorChanged)
  Q_PROPERTY(int coordinates READ coordinates WRITE setCoordinates NOTIFY coordinatesChanged)
  Q_PROPERTY(bool editMode READ editMode WRITE setEditMode NOTIFY editModeChanged)

 public:
  explicit QuickBoard(QQuickItem* parent = nullptr);
  ~QuickBoard() override;

  QString getMove() const { return Text(MemberId::kGetMove); }
  void setGetMove(const QString& move) { Write(MemberId::kGetMove, ToU16(move)); }
  QString putMove() const { return Text(MemberId::kPutMove); }
  void setPutMove(const QString& move) { Write(MemberId::kPutMove, ToU16(move)); }
  QString putPosition() const { return Text(MemberId::kPutPosition); }
  void setPutPosition(const QString& position) { Write(MemberId::kPutPosition, ToU16(position)); }
  bool dragEnabled() const { return Truth(MemberId::kDragEnabled); }
  void setDragEnabled(bool enabled) { Write(MemberId::kDragEnabled, enabled); }
  QString legalMoves() const { return Text(MemberId::kLegalMoves); }
  void setLegalMoves(const QString& moves) { Write(MemberId::kLegalMoves, ToU16(moves)); }
  bool showLegalMoves() const { return Truth(MemberId::kShowLegalMoves); }
  void setShowLegalMoves(bool show) { Write(MemberId::kShowLegalMoves, show); }
  int orientation() const { return Number(MemberId::kOrientation); }
  void setOrientation(int orientation) { Write(MemberId::kOrientation, orientation); }
  QString lastMove() const { return Text(MemberId::kLastMove); }
  void setLastMove(const QString& move) { Write(MemberId::kLastMove, ToU16(move)); }
  bool showLastMove() const { return Truth(MemberId::kShowLastMove); }
  void setShowLastMove(bool show) { Write(MemberId::kShowLastMove, show); }
  QString checkSquare() const { return Text(MemberId::kCheckSquare); }
  void setCheckSquare(const QString& square) { Write(MemberId::kCheckSquare, ToU16(square)); }
  QString marks() const { return Text(MemberId::kMarks); }
  void setMarks(const QString& marks) { Write(MemberId::kMarks, ToU16(marks)); }
  QString userMarks() const { return Text(MemberId::kUserMarks); }
  void setUserMarks(const QString& marks) { Write(MemberId::kUserMarks, ToU16(marks)); }
  int animationTime() const { return Number(MemberId::kAnimationTime); }
  void setAnimationTime(int milliseconds) { Write(MemberId::kAnimationTime, milliseconds); }
  QString fen() const { return Text(MemberId::kFen); }
  void setFen(const QString& fen) { Write(MemberId::kFen, ToU16(fen)); }
  int theme() const { return Number(MemberId::kTheme); }
  void setTheme(int theme) { Write(MemberId::kTheme, theme); }
  QColor lightSquareColor() const { return ToQColor(Number(MemberId::kLightSquareColor)); }
  void setLightSquareColor(const QColor& colour) {
    Write(MemberId::kLightSquareColor, FromQColor(colour));
  }
  QColor darkSquareColor() const { return ToQColor(Number(MemberId::kDarkSquareColor)); }
  void setDarkSquareColor(const QColor& colour) {
    Write(MemberId::kDarkSquareColor, FromQColor(colour));
  }
  int coordinates() const { return Number(MemberId::kCoordinates); }
  void setCoordinates(int coordinates) { Write(MemberId::kCoordinates, coordinates); }
  bool editMode() const { return Truth(MemberId::kEditMode); }
  void setEditMode(bool edit) { Write(MemberId::kEditMode, edit); }

  // Repaints what the squares already show.
  Q_INVOKABLE void refresh();
  // Inside a beforeMove handler: the move is not made.
  Q_INVOKABLE void cancelMove();

  // Raises beforeMove; `cancel` is the control's own answer, which cancelMove() sets.
  void OfferMove(const QString& from, const QString& to, const QString& promotion, bool& cancel);

  // Paints the whole surface again.
  void RepaintWhole();
  void paint(QPainter* painter) override;

 signals:
  void getMoveChanged();
  void putMoveChanged();
  void putPositionChanged();
  void dragEnabledChanged();
  void legalMovesChanged();
  void showLegalMovesChanged();
  void orientationChanged();
  void lastMoveChanged();
  void showLastMoveChanged();
  void checkSquareChanged();
  void marksChanged();
  void userMarksChanged();
  void animationTimeChanged();
  void fenChanged();
  void themeChanged();
  void lightSquareColorChanged();
  void darkSquareColorChanged();
  void coordinatesChanged();
  void editModeChanged();

  void clicked();
  void doubleClicked();
  void keyDown(int keyCode, int shift);
  void keyPress(int keyAscii);
  void keyUp(int keyCode, int shift);
  void mouseDown(int button, int shift, float x, float y);
  void mouseMove(int button, int shift, float x, float y);
  void mouseUp(int button, int shift, float x, float y);
  void changed();
  // A person's move, completed: the king's move for a castling, the chosen letter for a
  // promotion (empty otherwise); after changed().
  void afterMove(const QString& from, const QString& to, const QString& promotion);
  // A person's move from one square to another is about to be made; promotion is "" or the
  // chosen piece's letter, upper-case for white.
  void beforeMove(const QString& from, const QString& to, const QString& promotion);
  // The person drew, took away or cleared their own marks with the mouse (userMarks holds them
  // now). marksChanged() is the marks property's own notice.
  void userMarksDrawn();
  // In edit mode, a person put, moved or took off pieces, or pasted a position (fen holds it).
  void positionEdited();

 protected:
  bool event(QEvent* event) override;
  void componentComplete() override;
  // A new size or scene copies the whole picture.
  void geometryChange(const QRectF& now, const QRectF& before) override;
  void itemChange(ItemChange change, const ItemChangeData& value) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseUngrabEvent() override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  QString Text(MemberId id) const;
  bool Truth(MemberId id) const;
  int Number(MemberId id) const;
  // A property write is a host write; it holds the control, as its handlers may delete the item.
  void Write(MemberId id, const MemberValue& value);

  // The whole picture copied to the scene again (a new size makes a new picture).
  void CopyWhole();
  qreal Ratio() const;
  // The presenter's grid follows the item's size and the window's ratio; true when it changed.
  bool Fit();
  // Hands a mouse event to the core's pointer input as `deliver(pointer, control, grid, at)`,
  // everything it uses held in locals: the item may be gone when the core returns.
  template <class Deliver>
  void DeliverPointer(const QMouseEvent& event, Deliver deliver);
  // Tells assistive technology the board's role and name from the core's accessible model.
  void DescribeToAccessibility();

  void Repaint(const PixelBox& box) override;
  void WakeAt(std::optional<std::int64_t> ms) override;
  void EnabledChanged() override;
  void NameChanged(std::int16_t part) override;

  const std::shared_ptr<QuickForms> forms_;
  const std::shared_ptr<QuickHost> host_;
  const std::shared_ptr<BoardControl> control_;
  Presenter presenter_;
  QtCanvas canvas_;
  // What the item shows, in device pixels, and the logical boxes of it not yet painted again.
  QImage picture_;
  QRegion stale_;
  // Shared, so a press being delivered keeps it while the item is deleted under it.
  const std::shared_ptr<PointerInput> pointer_ = std::make_shared<PointerInput>();
  bool syncing_enabled_ = false;
  bool* cancel_ = nullptr;  // the answer of the beforeMove being raised
  // The animation clock the presenter is ticked on.
  std::unique_ptr<FrontEndClock> clock_;

  friend struct QuickBoardAccess;
};

// The item's clock, for a benchmark that moves it by hand.
struct QuickBoardAccess {
  static std::unique_ptr<FrontEndClock>& Clock(QuickBoard& board) { return board.clock_; }
};

}  // namespace velmora
