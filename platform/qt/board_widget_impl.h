#pragma once

#include <QAccessible>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QMouseEvent;

#include "control/pointer_input.h"
#include "control/user_control.h"
#include "platform/qt/qt_painter.h"
#include "platform/qt/qt_ports.h"
#include "platform/qt/qt_text.h"
#include "velmora/board_widget.h"
#include "view/pixel_grid.h"

namespace velmora {

// The saved properties a form loader set before the widget was polished.
class PendingBag : public PropertyBag {
 public:
  std::optional<std::u16string> get_move, put_move, put_position;
  bool enabled = true;

  PropertyValue Read(std::u16string_view name, const PropertyValue& fallback) override;
  void Write(std::u16string_view, const PropertyValue&, const PropertyValue&) override {}
};

// What the widget holds: the control, its co-owned ports, and the painting, input and
// accessibility state. The surface observer repaints exactly what the control reports and
// tells assistive technology of focus, selection and name changes.
class BoardWidget::Impl : public SurfaceObserver {
 public:
  explicit Impl(BoardWidget* widget);
  ~Impl() override;

  // The pixel grid of the screen the widget is on now.
  PixelGrid Grid() const;
  // A mouse event's point in device pixels on the grid, with its Shift and the buttons held.
  PointerPoint PointAt(const QMouseEvent& event) const;
  // The logical rectangle a part covers; empty for a part not shown.
  QRect PartRect(std::int16_t part) const;

  // Hands a mouse event to the core's pointer input as `deliver(pointer, control, grid, at)`.
  // Everything used is held in locals first: the widget may be gone when the core returns
  // (deleted inside the prompt's wait or by a host's handler).
  template <class Deliver>
  void DeliverPointer(const QMouseEvent& event, Deliver deliver) {
    const PointerPoint at = PointAt(event);
    const PixelGrid grid = Grid();
    const auto held_control = control;
    const auto held_forms = forms;
    const auto held_pointer = pointer;
    deliver(*held_pointer, *held_control, grid, at);
    held_forms->Wake();
  }

  // A text property: until the widget is polished its pending value, then the control's.
  template <class Read>
  QString ReadText(const std::optional<std::u16string>& slot, Read read) const {
    if (!polished && slot) return ToQString(*slot);
    return ToQString(read(*control));
  }
  // A text property write: held until the widget is polished, then a host write (which holds
  // the control, as its handlers may delete the widget).
  template <class Write>
  void WriteText(std::optional<std::u16string>& slot, const QString& text, Write write) {
    if (!polished) {
      slot = ToU16(text);
      return;
    }
    const auto held = control;
    write(*held, ToU16(text));
  }

  void PictureChanged(std::int16_t square) override;
  void MoveDisplayChanged() override;
  void VisibilityChanged(ControlName name) override;
  void EnabledChanged() override;
  void FocusMoved() override;
  void SelectionChanged() override;
  void NameChanged(std::int16_t part) override;

  BoardWidget* const widget;
  const std::shared_ptr<QtForms> forms;
  const std::shared_ptr<QtHost> host;
  const std::shared_ptr<UserControl1> control;
  QtPainter painter;
  // Shared, so a press being delivered keeps it while the widget is deleted under it.
  const std::shared_ptr<PointerInput> pointer = std::make_shared<PointerInput>();
  bool polished = false;
  bool syncing_enabled = false;
  PendingBag pending;
  // Where accessibility update events go; Qt's own delivery when empty.
  std::function<void(QAccessibleEvent&)> accessibility_sink;

 private:
  void Update(ControlRef ref);
  void UpdatePart(std::int16_t part);

  std::int16_t painted_mark_ = 0;
  std::int16_t notified_focus_ = 0;
  std::int16_t notified_selection_ = 0;
};

// The widget's inside, for the widget's own accessibility code and tests of it.
struct WidgetAccess {
  static BoardWidget::Impl& Of(const BoardWidget& widget) { return *widget.d_; }
};

}  // namespace velmora
