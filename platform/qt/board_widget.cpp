#include "velmora/board_widget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <optional>

#include "control/user_control.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_painter.h"
#include "platform/qt/qt_ports.h"
#include "platform/qt/qt_text.h"
#include "view/display_list.h"
#include "view/hit_test.h"

namespace velmora {
namespace {

// Shift, Ctrl and Alt as the host's Shift argument counts them: 1, 2 and 4.
std::int16_t ShiftOf(Qt::KeyboardModifiers modifiers) {
  std::int16_t shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= 1;
  if (modifiers & Qt::ControlModifier) shift |= 2;
  if (modifiers & Qt::AltModifier) shift |= 4;
  return shift;
}

// Left 1, right 2, middle 4, as the host's Button argument counts them.
std::int16_t ButtonsOf(Qt::MouseButtons buttons) {
  std::int16_t held = 0;
  if (buttons & Qt::LeftButton) held |= 1;
  if (buttons & Qt::RightButton) held |= 2;
  if (buttons & Qt::MiddleButton) held |= 4;
  return held;
}

Point TwipsAt(const QPointF& at) {
  return {static_cast<std::int32_t>(at.x() * kTwipsPerPixel),
          static_cast<std::int32_t>(at.y() * kTwipsPerPixel)};
}

// The saved properties a form loader set before the widget was polished.
class PendingBag : public PropertyBag {
 public:
  std::optional<std::u16string> get_move, put_move, put_position;
  bool enabled = true;

  PropertyValue Read(std::u16string_view name, const PropertyValue& fallback) override {
    if (name == u"Enabled") return enabled;
    const std::optional<std::u16string>* text = name == u"GetMove"   ? &get_move
                                                : name == u"PutMove" ? &put_move
                                                                     : &put_position;
    return *text ? PropertyValue(**text) : fallback;
  }
  void Write(std::u16string_view, const PropertyValue&, const PropertyValue&) override {}
};

}  // namespace

// What the widget holds: the control, its co-owned ports and the painting and input state. It
// tells the control of every visible change through the surface observer.
class BoardWidget::Impl : public SurfaceObserver {
 public:
  explicit Impl(BoardWidget* widget)
      : widget_(widget),
        forms(std::make_shared<QtForms>(widget)),
        host(std::make_shared<QtHost>(widget)),
        control(UserControl1::Create(forms, host)) {
    control->SetSurfaceObserver(this);
  }

  ~Impl() override {
    // The control may still be running inside a wait below us: it keeps its ports, but they no
    // longer reach the widget, and nothing tells this object of changes any more.
    control->SetSurfaceObserver(nullptr);
    forms->Detach();
    host->Detach();
  }

  void PictureChanged(std::int16_t square) override { Update({ControlName::kImage1, square}); }
  void MoveDisplayChanged() override { Update({ControlName::kText3}); }
  void VisibilityChanged(ControlName name) override { Update({name}); }
  void EnabledChanged() override {
    syncing_enabled_ = true;
    widget_->setEnabled(control->Enabled());
    syncing_enabled_ = false;
  }

  void Update(ControlRef ref) { widget_->update(LogicalRect(ref)); }

  // A mouse press being followed until its release.
  struct Press {
    Hit hit;
    bool double_click;
  };

  BoardWidget* widget_;
  std::shared_ptr<QtForms> forms;
  std::shared_ptr<QtHost> host;
  std::shared_ptr<UserControl1> control;
  QtPainter painter;
  std::optional<Press> press;
  bool polished = false;
  bool syncing_enabled_ = false;
  PendingBag pending;
};

BoardWidget::BoardWidget(QWidget* parent) : QWidget(parent), d_(std::make_unique<Impl>(this)) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

BoardWidget::~BoardWidget() = default;

QSize BoardWidget::sizeHint() const {
  return LogicalRect(Rect{0, 0, kDesignWidth, kDesignHeight}).size();
}

QString BoardWidget::getMove() const {
  if (!d_->polished && d_->pending.get_move) return ToQString(*d_->pending.get_move);
  return ToQString(d_->control->GetMove());
}
QString BoardWidget::putMove() const {
  if (!d_->polished && d_->pending.put_move) return ToQString(*d_->pending.put_move);
  return ToQString(d_->control->PutMove());
}
QString BoardWidget::putPosition() const {
  if (!d_->polished && d_->pending.put_position) return ToQString(*d_->pending.put_position);
  return ToQString(d_->control->PutPosition());
}

void BoardWidget::setGetMove(const QString& move) {
  if (!d_->polished) {
    d_->pending.get_move = ToU16(move);
    return;
  }
  const auto control = d_->control;
  control->GetMove(ToU16(move));
}
void BoardWidget::setPutMove(const QString& move) {
  if (!d_->polished) {
    d_->pending.put_move = ToU16(move);
    return;
  }
  const auto control = d_->control;
  control->PutMove(ToU16(move));
}
void BoardWidget::setPutPosition(const QString& position) {
  if (!d_->polished) {
    d_->pending.put_position = ToU16(position);
    return;
  }
  const auto control = d_->control;
  control->PutPosition(ToU16(position));
}

void BoardWidget::refresh() {
  const auto control = d_->control;
  control->Refresh();
}

bool BoardWidget::event(QEvent* event) {
  if (event->type() == QEvent::Polish && !d_->polished) {
    d_->polished = true;
    d_->pending.enabled = !testAttribute(Qt::WA_ForceDisabled);
    const auto control = d_->control;
    control->LoadProperties(d_->pending);
  }
  return QWidget::event(event);
}

void BoardWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::EnabledChange || !d_->polished || d_->syncing_enabled_) return;
  const bool enabled = !testAttribute(Qt::WA_ForceDisabled);
  if (enabled == d_->control->Enabled()) return;
  const auto control = d_->control;
  control->Enabled(enabled);
}

void BoardWidget::closeEvent(QCloseEvent* event) {
  d_->forms->EndWait();
  QWidget::closeEvent(event);
}

void BoardWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.fillRect(rect(), palette().window());
  d_->painter.Paint(painter, BuildDisplayList(d_->control->surface(), d_->control->GetMove()));
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
  event->accept();
  const Hit hit = HitTest(d_->control->surface(), TwipsAt(event->position()));
  if (event->button() == Qt::LeftButton) d_->press = Impl::Press{hit, false};
  if (hit.kind != Hit::Kind::kSurface) return;
  std::int16_t Button = ButtonsOf(event->button());
  std::int16_t Shift = ShiftOf(event->modifiers());
  float X = static_cast<float>(event->position().x() * kTwipsPerPixel);
  float Y = static_cast<float>(event->position().y() * kTwipsPerPixel);
  const auto control = d_->control;
  const auto forms = d_->forms;
  control->SurfaceMouseDown(Button, Shift, X, Y);
  forms->Wake();
}

void BoardWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  const Hit hit = HitTest(d_->control->surface(), TwipsAt(event->position()));
  if (event->button() != Qt::LeftButton) return;
  // The second press of a double click makes no click of its own.
  d_->press = Impl::Press{hit, true};
  if (hit.kind != Hit::Kind::kSurface) return;
  const auto control = d_->control;
  const auto forms = d_->forms;
  control->SurfaceDblClick();
  forms->Wake();
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const Hit hit = HitTest(d_->control->surface(), TwipsAt(event->position()));
  const auto control = d_->control;
  const auto forms = d_->forms;
  std::int16_t Button = ButtonsOf(event->button());
  std::int16_t Shift = ShiftOf(event->modifiers());
  float X = static_cast<float>(event->position().x() * kTwipsPerPixel);
  float Y = static_cast<float>(event->position().y() * kTwipsPerPixel);
  if (event->button() != Qt::LeftButton) {
    if (hit.kind == Hit::Kind::kSurface) control->SurfaceMouseUp(Button, Shift, X, Y);
    forms->Wake();
    return;
  }
  const std::optional<Impl::Press> press = std::exchange(d_->press, std::nullopt);
  if (!press) return;
  if (press->hit.kind == Hit::Kind::kSurface) control->SurfaceMouseUp(Button, Shift, X, Y);
  // A click is a press and a release over the same control. From here on the widget may be
  // gone when the core returns (deleted inside the prompt's wait): only locals are touched.
  if (!press->double_click && hit == press->hit) {
    switch (hit.kind) {
      case Hit::Kind::kSurface:
        control->SurfaceClick();
        break;
      case Hit::Kind::kSquare:
        control->ClickSquare(hit.index);
        break;
      case Hit::Kind::kChoice:
        control->ClickChoice(hit.index);
        break;
      case Hit::Kind::kSwallowed:
        break;
    }
  }
  forms->Wake();
}

void BoardWidget::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  // While the left button is held, the moves belong to whatever it pressed.
  const Hit over =
      d_->press ? d_->press->hit : HitTest(d_->control->surface(), TwipsAt(event->position()));
  if (over.kind != Hit::Kind::kSurface) return;
  std::int16_t Button = ButtonsOf(event->buttons());
  std::int16_t Shift = ShiftOf(event->modifiers());
  float X = static_cast<float>(event->position().x() * kTwipsPerPixel);
  float Y = static_cast<float>(event->position().y() * kTwipsPerPixel);
  const auto control = d_->control;
  const auto forms = d_->forms;
  control->SurfaceMouseMove(Button, Shift, X, Y);
  forms->Wake();
}

void BoardWidget::keyPressEvent(QKeyEvent* event) {
  event->accept();
  std::int16_t KeyCode = VirtualKeyOf(event->key());
  std::int16_t Shift = ShiftOf(event->modifiers());
  const QString text = event->text();
  const auto control = d_->control;
  const auto forms = d_->forms;
  if (KeyCode != 0) control->SurfaceKeyDown(KeyCode, Shift);
  // A character follows its key, as a translated key message follows the key-down.
  if (text.size() == 1 && text.front().unicode() < 0x8000) {
    std::int16_t KeyAscii = static_cast<std::int16_t>(text.front().unicode());
    control->SurfaceKeyPress(KeyAscii);
  }
  forms->Wake();
}

void BoardWidget::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  // A held key repeats its key-down and character only, as on Windows.
  if (event->isAutoRepeat()) return;
  std::int16_t KeyCode = VirtualKeyOf(event->key());
  std::int16_t Shift = ShiftOf(event->modifiers());
  if (KeyCode == 0) return;
  const auto control = d_->control;
  const auto forms = d_->forms;
  control->SurfaceKeyUp(KeyCode, Shift);
  forms->Wake();
}

}  // namespace velmora
