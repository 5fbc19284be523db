#include "velmora/board_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <optional>

#include "platform/qt/board_widget_impl.h"
#include "platform/qt/qt_accessible.h"
#include "platform/qt/qt_input.h"
#include "platform/qt/qt_text.h"
#include "view/accessible_parts.h"
#include "view/artwork.h"

namespace velmora {
namespace {

// The widget's message boxes carry the caption the ActiveX control's carry: its library's
// project name.
constexpr char kMessageCaption[] = "Project1";

}  // namespace

BoardWidget::Impl::Impl(BoardWidget* owner)
    : widget(owner),
      forms(std::make_shared<QtForms>(owner, QString::fromLatin1(kMessageCaption))),
      host(std::make_shared<QtHost>(owner)),
      control(BoardControl::Create(forms, host, ControlClass::kChessBoard)),
      presenter(*control, *this, DeviceArea(owner->size(), owner->devicePixelRatioF()),
                owner->devicePixelRatioF()) {
  clock = std::make_unique<TimerClock>(widget, [this] {
    const auto held = control;
    presenter.Tick(clock->Now());
  });
  presenter.Attach();
}

BoardWidget::Impl::~Impl() {
  // The control may still be running inside a wait below us: it keeps its ports, but they no
  // longer reach the widget, and nothing tells this object of changes any more.
  presenter.Detach();
  forms->Detach();
  host->Detach();
}

int BoardWidget::Impl::DragDistance() const {
  return qRound(QApplication::startDragDistance() * widget->devicePixelRatioF());
}

PointerPoint BoardWidget::Impl::PointAt(const QMouseEvent& event) const {
  const qreal ratio = widget->devicePixelRatioF();
  return {static_cast<int>(std::floor(event.position().x() * ratio)),
          static_cast<int>(std::floor(event.position().y() * ratio)), ShiftOf(event.modifiers()),
          ButtonsOf(event.buttons())};
}

QRect BoardWidget::Impl::PartRect(std::int16_t part) const {
  const auto box = PartBox(control->surface(), Grid(), part);
  return box ? LogicalRect(*box, widget->devicePixelRatioF()) : QRect();
}

void BoardWidget::Impl::Repaint(const PixelBox& box) {
  widget->update(LogicalRect(box, widget->devicePixelRatioF()));
}

void BoardWidget::Impl::WakeAt(std::optional<std::int64_t> ms) {
  clock->WakeAt(ms);
}

void BoardWidget::Impl::MoveDisplayChanged() {
  AccessibleValueChanged(*widget, kMoveDisplayPart, ToQString(control->GetMove()));
}

void BoardWidget::Impl::ChoicesShown(bool shown) {
  // The board's children change: choices come with the prompt and go with it.
  AccessibleEvent(*widget, kBoardPart, QAccessible::ObjectReorder);
  if (!shown) return;
  for (std::int16_t part = kFirstChoicePart; part < kFirstChoicePart + kChoicesShown; ++part) {
    AccessibleEvent(*widget, part, QAccessible::ObjectShow);
  }
}

void BoardWidget::Impl::EnabledChanged() {
  syncing_enabled = true;
  widget->setEnabled(control->Enabled());
  syncing_enabled = false;
  QAccessible::State changed;
  changed.disabled = true;
  AccessibleStateChanged(*widget, kBoardPart, changed);
}

void BoardWidget::Impl::PartFocused(std::int16_t part) {
  AccessibleEvent(*widget, part, QAccessible::Focus);
}

void BoardWidget::Impl::SelectionMoved(std::int16_t was, std::int16_t is) {
  if (was != 0) AccessibleEvent(*widget, was, QAccessible::SelectionRemove);
  if (is != 0) AccessibleEvent(*widget, is, QAccessible::SelectionAdd);
}

void BoardWidget::Impl::NameChanged(std::int16_t part) {
  AccessibleEvent(*widget, part, QAccessible::NameChanged);
}

void BoardWidget::Impl::PressedChanged(std::int16_t part) {
  QAccessible::State changed;
  changed.pressed = true;
  AccessibleStateChanged(*widget, part, changed);
}

BoardWidget::BoardWidget(QWidget* parent) : QWidget(parent), d_(std::make_unique<Impl>(this)) {
  InstallAccessibleFactory();
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Edit mode brings the spare places' parts and takes them away.
  connect(this, &BoardWidget::editModeChanged, this,
          [this] { AccessibleEvent(*this, kBoardPart, QAccessible::ObjectReorder); });
}

BoardWidget::~BoardWidget() = default;

QSize BoardWidget::sizeHint() const {
  return {kPreferredBoardSide, kPreferredBoardSide};
}

QSize BoardWidget::minimumSizeHint() const {
  return {kLeastBoardSide, kLeastBoardSide};
}

bool BoardWidget::hasHeightForWidth() const {
  return true;
}

int BoardWidget::heightForWidth(int width) const {
  return width;
}

// Each property's read and write goes through the member table. The first class's setters
// answer nothing, but putPosition's, which a ChessBoard may refuse; the later members' answer
// whether the value was taken.
#define VELMORA_PROPERTY(Value, Parameter, Answer, getter, setter, name) \
  Value BoardWidget::getter() const {                                    \
    return d_->Read<Value>(MemberId::k##name);                           \
  }                                                                      \
  Answer BoardWidget::setter(Parameter value) {                          \
    return Answer(d_->Write(MemberId::k##name, value));                  \
  }
VELMORA_PROPERTY(QString, const QString&, void, getMove, setGetMove, GetMove)
VELMORA_PROPERTY(QString, const QString&, void, putMove, setPutMove, PutMove)
VELMORA_PROPERTY(QString, const QString&, bool, putPosition, setPutPosition, PutPosition)
VELMORA_PROPERTY(bool, bool, bool, dragEnabled, setDragEnabled, DragEnabled)
VELMORA_PROPERTY(QString, const QString&, bool, legalMoves, setLegalMoves, LegalMoves)
VELMORA_PROPERTY(bool, bool, bool, showLegalMoves, setShowLegalMoves, ShowLegalMoves)
VELMORA_PROPERTY(int, int, bool, orientation, setOrientation, Orientation)
VELMORA_PROPERTY(QString, const QString&, bool, lastMove, setLastMove, LastMove)
VELMORA_PROPERTY(bool, bool, bool, showLastMove, setShowLastMove, ShowLastMove)
VELMORA_PROPERTY(QString, const QString&, bool, checkSquare, setCheckSquare, CheckSquare)
VELMORA_PROPERTY(QString, const QString&, bool, marks, setMarks, Marks)
VELMORA_PROPERTY(QString, const QString&, bool, userMarks, setUserMarks, UserMarks)
VELMORA_PROPERTY(int, int, bool, animationTime, setAnimationTime, AnimationTime)
VELMORA_PROPERTY(QString, const QString&, bool, fen, setFen, Fen)
VELMORA_PROPERTY(int, int, bool, theme, setTheme, Theme)
VELMORA_PROPERTY(QColor, const QColor&, bool, lightSquareColor, setLightSquareColor,
                 LightSquareColor)
VELMORA_PROPERTY(QColor, const QColor&, bool, darkSquareColor, setDarkSquareColor, DarkSquareColor)
VELMORA_PROPERTY(int, int, bool, coordinates, setCoordinates, Coordinates)
VELMORA_PROPERTY(bool, bool, bool, editMode, setEditMode, EditMode)
#undef VELMORA_PROPERTY

QImage BoardWidget::toolboxImage() {
  const ToolboxPicture& picture = Toolbox();
  QImage image(ToolboxPicture::kWidth, ToolboxPicture::kHeight, QImage::Format_RGB32);
  for (int y = 0; y < ToolboxPicture::kHeight; ++y) {
    for (int x = 0; x < ToolboxPicture::kWidth; ++x) {
      const Rgb rgb = picture.palette[picture.pixels[y * ToolboxPicture::kWidth + x]];
      image.setPixel(x, y, qRgb(rgb.r, rgb.g, rgb.b));
    }
  }
  return image;
}

void BoardWidget::refresh() {
  const auto control = d_->control;
  control->Refresh();
}

bool BoardWidget::event(QEvent* event) {
  return ClaimShortcut(*d_->control, *event) || QWidget::event(event);
}

void BoardWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::EnabledChange || d_->syncing_enabled) return;
  const bool enabled = !testAttribute(Qt::WA_ForceDisabled);
  if (enabled == d_->control->Enabled()) return;
  const auto control = d_->control;
  control->Enabled(enabled);
}

void BoardWidget::closeEvent(QCloseEvent* event) {
  d_->forms->EndWait();
  QWidget::closeEvent(event);
}

void BoardWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  const auto control = d_->control;
  control->SurfaceFocus(true);
}

void BoardWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  // Another window or a popup takes the mouse with the focus: the press being followed ends as a
  // lost capture does, and a dragged piece is put down still picked.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
    const auto pointer = d_->pointer;
    pointer->CaptureLost();
  }
  const auto control = d_->control;
  control->SurfaceFocus(false);
}

void BoardWidget::paintEvent(QPaintEvent* event) {
  if (d_->Fit()) update();
  QPainter painter(this);
  const qreal ratio = devicePixelRatioF();
  // The surface paints every pixel of its own rectangle; only beyond it (a design smaller than
  // the widget) shows the window.
  const QRect surface = LogicalRect(d_->Grid().DesignBox(), ratio);
  if (!surface.contains(event->rect())) {
    for (const QRect& rect : event->region().subtracted(surface)) {
      painter.fillRect(rect, palette().window());
    }
  }
  d_->canvas.Paint(painter, d_->control->surface(), size(), d_->presenter.Display(),
                   event->region());
}

void BoardWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (d_->Fit()) update();
}

// From each call into the core on, the widget may be gone when the core returns (deleted inside
// the prompt's wait or by a host's handler): the input handlers hold what they use in locals.
void BoardWidget::mousePressEvent(QMouseEvent* event) {
  event->accept();
  const auto button = PointerButtonOf(event->button());
  if (!button) return;
  d_->DeliverPointer(
      *event, [button](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                       PointerPoint at) { pointer.Press(control, grid, *button, false, at); });
}

void BoardWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  // Qt sends the second press of a double click as a press first; only the left button's double
  // click is the surface's DblClick.
  if (event->button() != Qt::LeftButton) return;
  d_->DeliverPointer(*event, [](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                                PointerPoint at) {
    pointer.Press(control, grid, PointerButton::kLeft, true, at);
  });
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const auto button = PointerButtonOf(event->button());
  if (!button) return;
  d_->DeliverPointer(*event,
                     [button](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                              PointerPoint at) { pointer.Release(control, grid, *button, at); });
}

// A finger's drag arrives here too: Qt synthesizes mouse events for a widget that takes no touch
// events.
void BoardWidget::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  d_->DeliverPointer(*event, [](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                                PointerPoint at) { pointer.Move(control, grid, at); });
}

void BoardWidget::keyPressEvent(QKeyEvent* event) {
  const auto control = d_->control;
  const auto forms = d_->forms;
  event->setAccepted(DeliverKeyPress(*control, *event));
  forms->Wake();
}

void BoardWidget::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  const auto control = d_->control;
  const auto forms = d_->forms;
  DeliverKeyRelease(*control, *event);
  forms->Wake();
}

}  // namespace velmora
