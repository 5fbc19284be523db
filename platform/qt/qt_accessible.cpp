#include "platform/qt/qt_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <map>
#include <mutex>

#include "control/accessible_model.h"
#include "platform/qt/board_widget_impl.h"
#include "platform/qt/qt_front_end.h"
#include "platform/qt/qt_text.h"
#include "view/accessible_parts.h"

namespace velmora {
namespace {

const BoardControl& ControlOf(const BoardWidget& widget) {
  return *WidgetAccess::Of(widget).control;
}

QAccessible::State StateOf(const AccessiblePart& part) {
  QAccessible::State state;
  state.focusable = part.states.focusable;
  state.focused = part.states.focused;
  state.selectable = part.role == AccessibleRole::kCell;
  state.selected = part.states.selected;
  state.disabled = part.states.unavailable;
  state.pressed = part.states.pressed;
  return state;
}

QString TextOf(const AccessiblePart& part, QAccessible::Text t) {
  switch (t) {
    case QAccessible::Name:
      return ToQString(part.name);
    case QAccessible::Value:
      return ToQString(part.value);
    case QAccessible::Description:
      return ToQString(part.description);
    default:
      return {};
  }
}

// The table as drawn: row 0 is the top row, column 0 the left column, as the board is turned.
constexpr int kSide = 8;
BoardOrientation OrientationOf(const BoardWidget& widget) {
  return ControlOf(widget).surface().Orientation();
}

void Send(BoardWidget& widget, QAccessibleEvent& event) {
  const auto& sink = WidgetAccess::Of(widget).accessibility_sink;
  if (sink) {
    sink(event);
  } else if (QAccessible::isActive()) {
    // Qt resolves the event's interface even when nobody listens: not for every repaint.
    QAccessible::updateAccessibility(&event);
  }
}

// One part of the board: a square, the move display, a shown choice or, in edit mode, a spare
// piece or the eraser. It asks the core's
// model each time, so it is never out of date; a choice that is no longer shown is invalid.
class PartAccessible : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public QAccessibleTableCellInterface {
 public:
  PartAccessible(BoardWidget* widget, std::int16_t part) : widget_(widget), part_(part) {}

  bool isValid() const override { return Describe().has_value(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return widget_.isNull() ? nullptr : widget_->window()->windowHandle();
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(widget_.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    const auto part = Describe();
    return part ? TextOf(*part, t) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (widget_.isNull()) return {};
    const QRect local = WidgetAccess::Of(*widget_).PartRect(part_);
    return QRect(widget_->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::Role role() const override {
    const auto part = Describe();
    return part ? RoleOf(part->role) : QAccessible::NoRole;
  }
  QAccessible::State state() const override {
    const auto part = Describe();
    QAccessible::State state;
    if (part) {
      state = StateOf(*part);
    } else {
      state.invisible = true;
    }
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::TableCellInterface && IsSquarePart(part_)) {
      return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
  }

  bool isSelected() const override { return state().selected; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override {
    return widget_.isNull() ? -1 : PlaceOfSquare(part_, OrientationOf(*widget_)).column;
  }
  int rowIndex() const override {
    return widget_.isNull() ? -1 : PlaceOfSquare(part_, OrientationOf(*widget_)).row;
  }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

  QStringList actionNames() const override {
    if (part_ == kMoveDisplayPart) return {};
    return {pressAction(), setFocusAction()};
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
  void doAction(const QString& action) override {
    if (widget_.isNull() || !isValid()) return;
    const auto control = WidgetAccess::Of(*widget_).control;
    if (action == setFocusAction()) {
      control->FocusPart(part_);
    } else if (action == pressAction()) {
      // Queued: an assistive client's call must never wait inside a promotion prompt.
      const std::int16_t part = part_;
      QMetaObject::invokeMethod(
          widget_.data(), [control, part] { control->ActivatePart(part); }, Qt::QueuedConnection);
    }
  }

 private:
  std::optional<AccessiblePart> Describe() const {
    if (widget_.isNull() || part_ == kBoardPart) return std::nullopt;
    return DescribePart(ControlOf(*widget_), part_);
  }

  QPointer<BoardWidget> widget_;
  std::int16_t part_;
};

// The board itself: a table whose children are the parts, each made once and kept.
class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit BoardAccessible(BoardWidget* widget)
      : QAccessibleWidget(widget, QAccessible::Table), board_(widget) {}

  ~BoardAccessible() override {
    for (const auto& [part, id] : children_) QAccessible::deleteAccessibleInterface(id);
  }

  QString text(QAccessible::Text t) const override {
    const auto part = DescribePart(ControlOf(*board_), kBoardPart);
    if (t == QAccessible::Name && part) return ToQString(part->name);
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (const auto part = DescribePart(ControlOf(*board_), kBoardPart)) {
      state.disabled = part->states.unavailable;
      state.focused = part->states.focused;
    }
    return state;
  }

  int childCount() const override { return LastPart(ControlOf(*board_).surface()); }
  QAccessibleInterface* child(int index) const override {
    const int part = index + 1;
    if (part < 1 || part > childCount()) return nullptr;
    auto found = children_.find(static_cast<std::int16_t>(part));
    if (found == children_.end()) {
      auto* made = new PartAccessible(board_, static_cast<std::int16_t>(part));
      found = children_.emplace(part, QAccessible::registerAccessibleInterface(made)).first;
    }
    return QAccessible::accessibleInterface(found->second);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [part, id] : children_) {
      if (QAccessible::accessibleInterface(id) == child && part <= childCount()) return part - 1;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint local = board_->mapFromGlobal(QPoint(x, y));
    for (int index = 0; index < childCount(); ++index) {
      if (WidgetAccess::Of(*board_)
              .PartRect(static_cast<std::int16_t>(index + 1))
              .contains(local)) {
        return child(index);
      }
    }
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const auto part = FocusedPart(ControlOf(*board_));
    return part ? child(*part - 1) : nullptr;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // The 64 squares as an 8 x 8 table; the move display and the choices lie outside it.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    const auto square = SquareAtPlace({row, column}, OrientationOf(*board_));
    return square ? child(*square - 1) : nullptr;
  }
  int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    const auto part = SelectedPart(ControlOf(*board_));
    if (!part) return {};
    return {child(*part - 1)};
  }
  // The file letter or rank digit drawn beside that column or row.
  QString columnDescription(int column) const override { return SquareNameAt({0, column}, 0); }
  QString rowDescription(int row) const override { return SquareNameAt({row, 0}, 1); }
  QString SquareNameAt(DrawnPlace place, int character) const {
    const auto square = SquareAtPlace(place, OrientationOf(*board_));
    return square ? QString(QChar(SquareName(SquareOf(*square))[character])) : QString();
  }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return kSide; }
  int rowCount() const override { return kSide; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  // Selecting is the click entry's: a whole row or column is never selected.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  BoardWidget* board_;
  mutable std::map<std::int16_t, QAccessible::Id> children_;
};

QAccessibleInterface* Factory(const QString& class_name, QObject* object) {
  if (class_name != QLatin1String("velmora::BoardWidget")) return nullptr;
  auto* widget = qobject_cast<BoardWidget*>(object);
  return widget == nullptr ? nullptr : new BoardAccessible(widget);
}

}  // namespace

void SetAccessibilitySink(BoardWidget& widget, std::function<void(QAccessibleEvent&)> sink) {
  WidgetAccess::Of(widget).accessibility_sink = std::move(sink);
}

void InstallAccessibleFactory() {
  static std::once_flag installed;
  std::call_once(installed, [] { QAccessible::installFactory(&Factory); });
}

void AccessibleEvent(BoardWidget& widget, std::int16_t part, QAccessible::Event type) {
  QAccessibleEvent event(&widget, type);
  event.setChild(part - 1);
  Send(widget, event);
}

void AccessibleValueChanged(BoardWidget& widget, std::int16_t part, const QString& value) {
  QAccessibleValueChangeEvent event(&widget, value);
  event.setChild(part - 1);
  Send(widget, event);
}

void AccessibleStateChanged(BoardWidget& widget, std::int16_t part, QAccessible::State changed) {
  QAccessibleStateChangeEvent event(&widget, changed);
  event.setChild(part - 1);
  Send(widget, event);
}

}  // namespace velmora
