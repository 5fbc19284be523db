#include "tests/platform/qt/widget_driver.h"

#include <QApplication>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <cstdlib>

#include "board/square.h"
#include "control/members.h"
#include "platform/qt/qt_canvas.h"
#include "view/display_list.h"
#include "view/pixel_grid.h"

namespace velmora::testing {
namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

}  // namespace

QRect SquareRect(QStringView name) {
  const auto square = ParseSquareName(name[0].unicode(), name[1].unicode());
  const PixelGrid grid(DeviceScale::BoardFit({0, 0, kPreferredBoardSide, kPreferredBoardSide}));
  const PixelBox box = grid.BoxOf(*FindControl({ControlName::kSquare, SquareNumber(*square)}));
  return QRect(box.left, box.top, box.width(), box.height());
}

void Press(QWidget* widget, QPoint at, Qt::MouseButton button) {
  SendMouse(widget, QEvent::MouseButtonPress, at, button, button);
}

void Release(QWidget* widget, QPoint at, Qt::MouseButton button) {
  SendMouse(widget, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

void ClickAt(QWidget* widget, QPoint at) {
  Press(widget, at);
  Release(widget, at);
}

void DoubleClickAt(QWidget* widget, QPoint at) {
  ClickAt(widget, at);
  Press(widget, at);
  SendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
  Release(widget, at);
}

void ClickSquare(QWidget* widget, QStringView name) {
  ClickAt(widget, SquareRect(name).center());
}

void ClickChoice(QWidget* widget, QStringView promotion, std::int16_t k) {
  const auto square = ParseSquareName(promotion[0].unicode(), promotion[1].unicode());
  const std::int16_t n = ChooserSquare(SquareNumber(*square), static_cast<std::int16_t>(k % 4));
  ClickSquare(widget, QString::fromStdU16String(SquareName(SquareOf(n))));
}

QImage Render(QWidget* widget, qreal device_pixel_ratio) {
  const QSize size = widget->size() * device_pixel_ratio;
  QImage image(size, QImage::Format_RGB32);
  image.setDevicePixelRatio(device_pixel_ratio);
  image.fill(Qt::magenta);
  widget->render(&image);
  return image;
}

QImage SquareImage(const QImage& rendering, QStringView name) {
  const qreal ratio = rendering.devicePixelRatio();
  const QRect r = SquareRect(name);
  return rendering.copy(QRect(r.topLeft() * ratio, r.size() * ratio));
}

int PixelsOffTheCoresRender(const QImage& rendering, const RgbImage& core, const QRect& square) {
  const int ratio = qRound(rendering.devicePixelRatio());
  int off = 0;
  for (int y = square.top() * ratio; y < (square.bottom() + 1) * ratio; ++y) {
    for (int x = square.left() * ratio; x < (square.right() + 1) * ratio; ++x) {
      const QRgb got = rendering.pixel(x, y);
      const Rgb want = core.At(x, y);
      off += std::abs(qRed(got) - want.r) > 2 || std::abs(qGreen(got) - want.g) > 2 ||
             std::abs(qBlue(got) - want.b) > 2;
    }
  }
  return off;
}

QString Rows(std::initializer_list<const char*> rows) {
  QString text;
  for (const char* row : rows) text += QString::fromLatin1(row);
  return text;
}

void CompareWithTheMemberTable(const QMetaObject& meta, const char* face) {
  QStringList expected;
  for (const Member& member : kMembers) {
    if (member.kind == MemberKind::kMethod || member.id == MemberId::kEnabled) continue;
    QString name = QString::fromStdU16String(std::u16string(member.name));
    name[0] = name[0].toLower();
    expected << name;
    const QMetaProperty property = meta.property(meta.indexOfProperty(name.toLatin1()));
    QVERIFY2(property.isValid(), qPrintable(QString(face) + " lacks " + name));
    const QMetaType::Type type = member.kind == MemberKind::kBoolean  ? QMetaType::Bool
                                 : member.kind == MemberKind::kString ? QMetaType::QString
                                 : member.kind == MemberKind::kColour ? QMetaType::QColor
                                                                      : QMetaType::Int;
    QCOMPARE(property.metaType().id(), static_cast<int>(type));
    QCOMPARE(property.notifySignal().name(), name.toLatin1() + "Changed");
  }
  QStringList declared;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
    declared << meta.property(i).name();
  }
  QCOMPARE(declared, expected);
}

}  // namespace velmora::testing
