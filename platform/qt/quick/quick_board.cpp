#include "platform/qt/quick/quick_board.h"

#include <QGuiApplication>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QStyleHints>
#include <cmath>
#include <utility>

#include "control/accessible_model.h"
#include "platform/qt/qt_front_end.h"
#include "platform/qt/qt_input.h"
#include "platform/qt/qt_text.h"

namespace velmora {

QuickBoard::QuickBoard(QQuickItem* parent)
    : QQuickPaintedItem(parent),
      forms_(std::make_shared<QuickForms>(this)),
      host_(std::make_shared<QuickHost>(this)),
      control_(BoardControl::Create(forms_, host_, ControlClass::kChessBoard)),
      presenter_(*control_, *this, DeviceArea({kPreferredBoardSide, kPreferredBoardSide}, 1), 1) {
  setImplicitSize(kPreferredBoardSide, kPreferredBoardSide);
  setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
  setActiveFocusOnTab(true);
  setOpaquePainting(true);
  clock_ = std::make_unique<TimerClock>(this, [this] {
    const auto held = control_;
    presenter_.Tick(clock_->Now());
  });
  presenter_.Attach();
}

QuickBoard::~QuickBoard() {
  // The control may still be running inside a wait below us: it keeps its ports, but they no
  // longer reach the item, and nothing tells this object of changes any more.
  presenter_.Detach();
  forms_->Detach();
  host_->Detach();
}

QString QuickBoard::Text(MemberId id) const {
  return ToQString(std::get<std::u16string>(ReadMember(*control_, MemberOf(id))));
}

bool QuickBoard::Truth(MemberId id) const {
  return std::get<bool>(ReadMember(*control_, MemberOf(id)));
}

int QuickBoard::Number(MemberId id) const {
  return std::get<std::int32_t>(ReadMember(*control_, MemberOf(id)));
}

void QuickBoard::Write(MemberId id, const MemberValue& value) {
  const auto held = control_;
  WriteMember(*held, MemberOf(id), value);
}

void QuickBoard::refresh() {
  const auto held = control_;
  held->Refresh();
}

void QuickBoard::cancelMove() {
  if (cancel_ != nullptr) *cancel_ = true;
}

void QuickBoard::OfferMove(const QString& from, const QString& to, const QString& promotion,
                           bool& cancel) {
  bool* const outer = std::exchange(cancel_, &cancel);
  emit beforeMove(from, to, promotion);
  cancel_ = outer;
}

qreal QuickBoard::Ratio() const {
  return window() != nullptr ? window()->effectiveDevicePixelRatio() : 1;
}

bool QuickBoard::Fit() {
  const qreal ratio = Ratio();
  return presenter_.SetArea(DeviceArea(size(), ratio), ratio);
}

// The scene repaints one rectangle round all it was asked to (and clears it first): the item
// paints the boxes the presenter named into its own picture, at the device ratio, and copies the
// rectangle from there.
void QuickBoard::paint(QPainter* painter) {
  const qreal ratio = Ratio();
  const QSize pixels = (boundingRect().size() * ratio).toSize();
  if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
    picture_ = QImage(pixels, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    stale_ = boundingRect().toAlignedRect();
  }
  if (Fit()) stale_ = boundingRect().toAlignedRect();
  if (!stale_.isEmpty()) {
    QPainter onto(&picture_);
    canvas_.Paint(onto, control_->surface(), size(), presenter_.Display(), stale_);
    stale_ = QRegion();
  }
  painter->drawImage(QPointF(0, 0), picture_);
}

void QuickBoard::Repaint(const PixelBox& box) {
  const QRect rect = LogicalRect(box, Ratio());
  stale_ += rect;
  update(rect);
}

void QuickBoard::WakeAt(std::optional<std::int64_t> ms) {
  clock_->WakeAt(ms);
}

void QuickBoard::EnabledChanged() {
  syncing_enabled_ = true;
  setEnabled(control_->Enabled());
  syncing_enabled_ = false;
}

void QuickBoard::NameChanged(std::int16_t part) {
  if (part == 0) DescribeToAccessibility();
}

void QuickBoard::componentComplete() {
  QQuickPaintedItem::componentComplete();
  DescribeToAccessibility();
}

void QuickBoard::DescribeToAccessibility() {
  QQmlEngine* const engine = qmlEngine(this);
  const auto board = DescribePart(*control_, 0);
  if (engine == nullptr || !board) return;
  // Accessible is QtQuick's attached type: its properties are found through a context that
  // imports QtQuick, whatever the document that made the item imports.
  QQmlComponent importer(engine);
  importer.setData("import QtQuick\nQtObject {}", QUrl());
  const std::unique_ptr<QObject> imported(importer.create());
  if (!imported) return;
  QQmlContext* const context = qmlContext(imported.get());
  QQmlProperty(this, "Accessible.role", context).write(static_cast<int>(RoleOf(board->role)));
  QQmlProperty(this, "Accessible.name", context).write(ToQString(board->name));
}

void QuickBoard::geometryChange(const QRectF& now, const QRectF& before) {
  QQuickPaintedItem::geometryChange(now, before);
  if (Fit()) {
    RepaintWhole();
  } else {
    CopyWhole();
  }
}

// With its rectangle: an update of the whole item without one is forgotten by a later update of
// a part.
void QuickBoard::CopyWhole() {
  update(boundingRect().toAlignedRect());
}

void QuickBoard::RepaintWhole() {
  stale_ = boundingRect().toAlignedRect();
  CopyWhole();
}

void QuickBoard::itemChange(ItemChange change, const ItemChangeData& value) {
  QQuickPaintedItem::itemChange(change, value);
  // A new scene copies the whole picture: the boxes written before cover only part.
  if (change == ItemSceneChange) CopyWhole();
  if (change != ItemEnabledHasChanged || syncing_enabled_) return;
  if (isEnabled() == control_->Enabled()) return;
  const auto held = control_;
  held->Enabled(isEnabled());
}

void QuickBoard::focusInEvent(QFocusEvent* event) {
  QQuickPaintedItem::focusInEvent(event);
  const auto held = control_;
  held->SurfaceFocus(true);
}

void QuickBoard::focusOutEvent(QFocusEvent* event) {
  QQuickPaintedItem::focusOutEvent(event);
  const auto held = control_;
  held->SurfaceFocus(false);
}

template <class Deliver>
void QuickBoard::DeliverPointer(const QMouseEvent& event, Deliver deliver) {
  const qreal ratio = Ratio();
  const PointerPoint at{static_cast<int>(std::floor(event.position().x() * ratio)),
                        static_cast<int>(std::floor(event.position().y() * ratio)),
                        ShiftOf(event.modifiers()), ButtonsOf(event.buttons())};
  if (Fit()) RepaintWhole();
  const PixelGrid grid = presenter_.grid();
  const auto control = control_;
  const auto forms = forms_;
  const auto pointer = pointer_;
  pointer->SetDragDistance(qRound(QGuiApplication::styleHints()->startDragDistance() * ratio));
  deliver(*pointer, *control, grid, at);
  forms->Wake();
}

// From each call into the core on, the item may be gone when the core returns (deleted inside
// the prompt's wait or by a handler): the input handlers hold what they use in locals.
void QuickBoard::mousePressEvent(QMouseEvent* event) {
  event->accept();
  forceActiveFocus(Qt::MouseFocusReason);
  const auto button = PointerButtonOf(event->button());
  if (!button) return;
  DeliverPointer(*event,
                 [button](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                          PointerPoint at) { pointer.Press(control, grid, *button, false, at); });
}

void QuickBoard::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  // The second press of a double click comes as a press first; only the left button's double
  // click is the surface's DblClick.
  if (event->button() != Qt::LeftButton) return;
  DeliverPointer(*event, [](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                            PointerPoint at) {
    pointer.Press(control, grid, PointerButton::kLeft, true, at);
  });
}

void QuickBoard::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const auto button = PointerButtonOf(event->button());
  if (!button) return;
  DeliverPointer(*event,
                 [button](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                          PointerPoint at) { pointer.Release(control, grid, *button, at); });
}

// A finger's drag arrives here too: Qt synthesizes mouse events for an item that takes no touch
// events.
void QuickBoard::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  DeliverPointer(*event, [](PointerInput& pointer, BoardControl& control, const PixelGrid& grid,
                            PointerPoint at) { pointer.Move(control, grid, at); });
}

// Another item took the mouse: the press being followed ends as a lost capture does.
void QuickBoard::mouseUngrabEvent() {
  const auto pointer = pointer_;
  pointer->CaptureLost();
}

bool QuickBoard::event(QEvent* event) {
  return ClaimShortcut(*control_, *event) || QQuickPaintedItem::event(event);
}

void QuickBoard::keyPressEvent(QKeyEvent* event) {
  const auto control = control_;
  const auto forms = forms_;
  event->setAccepted(DeliverKeyPress(*control, *event));
  forms->Wake();
}

void QuickBoard::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  const auto control = control_;
  const auto forms = forms_;
  DeliverKeyRelease(*control, *event);
  forms->Wake();
}

}  // namespace velmora
