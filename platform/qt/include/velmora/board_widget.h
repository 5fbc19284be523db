#pragma once

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
// putPosition), so a form loader applies them in that order.
//
// The key and mouse signals pass the control's own storage by reference: a slot connected
// directly may change it (setting keyCode to 0 takes a key for the host).
class VELMORA_QT_EXPORT BoardWidget : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString getMove READ getMove WRITE setGetMove NOTIFY getMoveChanged)
  Q_PROPERTY(QString putMove READ putMove WRITE setPutMove NOTIFY putMoveChanged)
  Q_PROPERTY(QString putPosition READ putPosition WRITE setPutPosition NOTIFY putPositionChanged)

 public:
  explicit BoardWidget(QWidget* parent = nullptr);
  ~BoardWidget() override;

  QString getMove() const;
  void setGetMove(const QString& move);
  QString putMove() const;
  void setPutMove(const QString& move);
  QString putPosition() const;
  void setPutPosition(const QString& position);

  QSize sizeHint() const override;

  // The 16 x 15 picture form designers show for the widget in their toolbox.
  static QImage toolboxImage();

 public slots:
  // Repaints what the squares already show.
  void refresh();

 signals:
  void getMoveChanged();
  void putMoveChanged();
  void putPositionChanged();

  void clicked();
  void doubleClicked();
  void keyDown(short& keyCode, short& shift);
  void keyPress(short& keyAscii);
  void keyUp(short& keyCode, short& shift);
  void mouseDown(short& button, short& shift, float& x, float& y);
  void mouseMove(short& button, short& shift, float& x, float& y);
  void mouseUp(short& button, short& shift, float& x, float& y);
  void changed();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
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
