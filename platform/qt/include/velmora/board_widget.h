#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>

#if defined(VELMORA_QT_BUILDING)
#define VELMORA_QT_EXPORT Q_DECL_EXPORT
#else
#define VELMORA_QT_EXPORT Q_DECL_IMPORT
#endif

namespace velmora {

struct WidgetAccess;

// The chess-board control as a Qt widget. A host loads positions with putPosition, pushes moves
// with putMove and reads the moves a person enters with the mouse or the keyboard from getMove;
// changed() follows every change of getMove.
//
// Every property write is a host write, before the widget is shown as after: its handlers run
// inside it and its NOTIFY signal follows it, whether the text changed or not. The properties
// are declared in the order they are saved (enabled, QWidget's own, then getMove, putMove,
// putPosition, then the board's later members), so a form loader applies them in that order.
//
// The later members' setters and setPutPosition answer whether the value was taken: a text that
// does not parse or a number out of range is refused (false), nothing changes and no signal
// follows. legalMoves
// is a text of moves separated by spaces ("E2-E4 G1-F3", or "e2e4 g1f3"; empty = any move),
// read back as move texts; marks and userMarks are coloured squares and arrows ("Gd4 Rg1f3");
// orientation is 0 (white at the bottom) or 1; animationTime is 0 to 2000 milliseconds; fen
// reads the board's placement field and loads a placement field or a whole FEN record. theme is
// 0 to 5 (brown, blue, green, grey, contrast, classic); lightSquareColor and darkSquareColor read
// the colours in use, and a colour written stays over the theme's until theme is written again;
// coordinates is 0 (none), 1 (inside the edge squares) or 2 (outside). editMode sets up a
// position: spare pieces beside the board, pieces put, moved and taken off with no rule, the
// clipboard's Ctrl+C and Ctrl+V, positionEdited() after each change.
//
// A piece can be dragged (dragEnabled) as well as moved by two clicks. Before a person's move is
// made, beforeMove() offers it to the host: a slot connected directly that sets cancel leaves
// the piece picked and the board and getMove as they were, with no changed().
//
// The key and mouse signals pass the control's own storage by reference: a slot connected
// directly may change it (setting keyCode to 0 takes a key for the host).
class VELMORA_QT_EXPORT BoardWidget : public QWidget {
  Q_OBJECT
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
  explicit BoardWidget(QWidget* parent = nullptr);
  ~BoardWidget() override;

  QString getMove() const;
  void setGetMove(const QString& move);
  QString putMove() const;
  void setPutMove(const QString& move);
  QString putPosition() const;
  bool setPutPosition(const QString& position);

  bool dragEnabled() const;
  bool setDragEnabled(bool enabled);
  QString legalMoves() const;
  bool setLegalMoves(const QString& moves);
  bool showLegalMoves() const;
  bool setShowLegalMoves(bool show);
  int orientation() const;
  bool setOrientation(int orientation);
  QString lastMove() const;
  bool setLastMove(const QString& move);
  bool showLastMove() const;
  bool setShowLastMove(bool show);
  QString checkSquare() const;
  bool setCheckSquare(const QString& square);
  QString marks() const;
  bool setMarks(const QString& marks);
  QString userMarks() const;
  bool setUserMarks(const QString& marks);
  int animationTime() const;
  bool setAnimationTime(int milliseconds);
  QString fen() const;
  bool setFen(const QString& fen);
  int theme() const;
  bool setTheme(int theme);
  QColor lightSquareColor() const;
  bool setLightSquareColor(const QColor& colour);
  QColor darkSquareColor() const;
  bool setDarkSquareColor(const QColor& colour);
  int coordinates() const;
  bool setCoordinates(int coordinates);
  bool editMode() const;
  bool setEditMode(bool edit);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override;
  int heightForWidth(int width) const override;

  // The 16 x 15 picture form designers show for the widget in their toolbox.
  static QImage toolboxImage();

 public slots:
  // Repaints what the squares already show.
  void refresh();

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
  void keyDown(short& keyCode, short& shift);
  void keyPress(short& keyAscii);
  void keyUp(short& keyCode, short& shift);
  void mouseDown(short& button, short& shift, float& x, float& y);
  void mouseMove(short& button, short& shift, float& x, float& y);
  void mouseUp(short& button, short& shift, float& x, float& y);
  void changed();
  // A person's move from one square to another is about to be made; promotion is "" or the
  // chosen piece's letter, upper-case for white.
  void beforeMove(const QString& from, const QString& to, const QString& promotion, bool& cancel);
  // The person drew, took away or cleared their own marks with the mouse (userMarks holds them
  // now); the MarksChanged event. marksChanged() is the marks property's own notice.
  void userMarksDrawn();
  // A person completed a move, after its changed(): a castling as the king's move, promotion the
  // chosen letter ("" otherwise). Not emitted for a host's moves.
  void afterMove(const QString& from, const QString& to, const QString& promotion);
  // In edit mode, a person put, moved or took off pieces, or pasted a position (fen holds it).
  void positionEdited();

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  class Impl;
  friend struct WidgetAccess;
  std::unique_ptr<Impl> d_;
};

}  // namespace velmora
