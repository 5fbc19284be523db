#include "products/qt-demo/demo_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "velmora/board_widget.h"

namespace velmora {

DemoWindow::DemoWindow(QWidget* parent)
    : QWidget(parent), board_(new BoardWidget(this)), moves_(new QListWidget(this)) {
  setWindowTitle(tr("Velmora"));
  auto* new_game = new QPushButton(tr("New game"), this);
  auto* load = new QPushButton(tr("Load position..."), this);
  auto* set_up = new QCheckBox(tr("Set up position"), this);
  auto* side = new QVBoxLayout;
  side->addWidget(new QLabel(tr("Moves seen by the host"), this));
  side->addWidget(moves_, 1);
  side->addWidget(new_game);
  side->addWidget(load);
  side->addWidget(set_up);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(board_);
  layout->addLayout(side);
  moves_->setMinimumWidth(160);
  connect(new_game, &QPushButton::clicked, this, &DemoWindow::NewGame);
  connect(load, &QPushButton::clicked, this, &DemoWindow::LoadPosition);
  connect(board_, &BoardWidget::changed, this, &DemoWindow::OnChanged);
  connect(set_up, &QCheckBox::toggled, board_, &BoardWidget::setEditMode);
}

void DemoWindow::NewGame() {
  board_->setPutMove(QStringLiteral("**"));
  moves_->clear();
}

void DemoWindow::LoadPosition() {
  bool ok = false;
  const QString text = QInputDialog::getText(
      this, tr("Load position"), tr("64 characters, row 1 first, each one of QKBNRPqkbnrp*:"),
      QLineEdit::Normal, QString(), &ok);
  if (!ok) return;
  board_->setPutPosition(text);
  moves_->clear();
}

void DemoWindow::OnChanged() {
  // A square name marks a lifted piece; only whole move texts go in the list.
  const QString move = board_->getMove();
  if (move.size() == 5) moves_->addItem(move);
}

}  // namespace velmora
