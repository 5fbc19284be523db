#pragma once

#include <QWidget>

class QListWidget;

namespace velmora {

class BoardWidget;

// The example application's window: the board, the moves the host has seen, and buttons for a
// new game and for loading a position text.
class DemoWindow : public QWidget {
  Q_OBJECT

 public:
  explicit DemoWindow(QWidget* parent = nullptr);

  BoardWidget* board() const { return board_; }

 private:
  void NewGame();
  void LoadPosition();
  // Change: the board shows a new square or move in getMove.
  void OnChanged();

  BoardWidget* board_;
  QListWidget* moves_;
};

}  // namespace velmora
