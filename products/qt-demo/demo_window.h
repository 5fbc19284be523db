#pragma once

#include <QWidget>

class QListWidget;

namespace velmora {

class BoardWidget;

// The example application's window: the board, the moves the host has seen, buttons for a new
// game and for loading a position text, and a check box that sets up a position on the board.
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
