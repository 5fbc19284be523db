#pragma once

#include <QAccessible>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

class QMouseEvent;

#include "control/board_control.h"
#include "control/pointer_input.h"
#include "control/presenter.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_colour.h"
#include "platform/qt/qt_ports.h"
#include "platform/qt/qt_text.h"
#include "velmora/board_widget.h"
#include "view/pixel_grid.h"

namespace velmora {

// What the widget holds: the control, its co-owned ports, its presenter, and the painting,
// input and accessibility state. As the presenter's screen it updates what the presenter asks
// to repaint, runs the timer it asks for, and tells assistive technology of focus, selection
// and name changes.
class BoardWidget::Impl : public Screen {
 public:
  explicit Impl(BoardWidget* widget);
  ~Impl() override;

  // The presenter's grid follows the widget's size and the ratio of the screen it is on at each
  // resize, paint and mouse event; true when it changed, which repaints the whole widget.
  bool Fit() {
    const qreal ratio = widget->devicePixelRatioF();
    return presenter.SetArea(DeviceArea(widget->size(), ratio), ratio);
  }
  const PixelGrid& Grid() const { return presenter.grid(); }
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
    if (Fit()) widget->update();
    const PixelGrid grid = Grid();
    const auto held_control = control;
    const auto held_forms = forms;
    const auto held_pointer = pointer;
    held_pointer->SetDragDistance(DragDistance());
    deliver(*held_pointer, *held_control, grid, at);
    held_forms->Wake();
  }

  // The drag distance of the system, in device pixels on the screen the widget is on now.
  int DragDistance() const;

  // A member's value as the widget's property shows it.
  template <class Value>
  Value Read(MemberId id) const {
    const MemberValue value = ReadMember(*control, MemberOf(id));
    if constexpr (std::is_same_v<Value, QString>) {
      return ToQString(std::get<std::u16string>(value));
    } else if constexpr (std::is_same_v<Value, QColor>) {
      return ToQColor(std::get<std::int32_t>(value));
    } else {
      return std::get<std::conditional_t<std::is_same_v<Value, bool>, bool, std::int32_t>>(value);
    }
  }
  // A property write is a host write, before or after the widget is shown (it holds the
  // control, as its handlers may delete the widget); true when the control took the value.
  bool Write(MemberId id, const MemberValue& value) {
    const auto held = control;
    return !WriteMember(*held, MemberOf(id), value).has_value();
  }
  bool Write(MemberId id, const QString& text) { return Write(id, MemberValue(ToU16(text))); }
  bool Write(MemberId id, bool truth) { return Write(id, MemberValue(truth)); }
  bool Write(MemberId id, int number) { return Write(id, MemberValue(std::int32_t{number})); }
  bool Write(MemberId id, const QColor& colour) { return Write(id, FromQColor(colour)); }

  void Repaint(const PixelBox& box) override;
  void WakeAt(std::optional<std::int64_t> ms) override;
  void MoveDisplayChanged() override;
  void ChoicesShown(bool shown) override;
  void EnabledChanged() override;
  void PartFocused(std::int16_t part) override;
  void SelectionMoved(std::int16_t was, std::int16_t is) override;
  void NameChanged(std::int16_t part) override;
  void PressedChanged(std::int16_t part) override;

  BoardWidget* const widget;
  const std::shared_ptr<QtForms> forms;
  const std::shared_ptr<QtHost> host;
  const std::shared_ptr<BoardControl> control;
  Presenter presenter;
  QtCanvas canvas;
  // Shared, so a press being delivered keeps it while the widget is deleted under it.
  const std::shared_ptr<PointerInput> pointer = std::make_shared<PointerInput>();
  bool syncing_enabled = false;
  // Where accessibility update events go; Qt's own delivery when empty.
  std::function<void(QAccessibleEvent&)> accessibility_sink;
  // The animation clock the presenter is ticked on.
  std::unique_ptr<FrontEndClock> clock;
};

// The widget's inside, for the widget's own accessibility code and tests of it.
struct WidgetAccess {
  static BoardWidget::Impl& Of(const BoardWidget& widget) { return *widget.d_; }
};

}  // namespace velmora
