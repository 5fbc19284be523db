#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/headless/rgb_image.h"
#include "velmora/board_widget.h"
#include "view/layout.h"

namespace velmora::testing {

// Where a square lies in a widget of its preferred size (400 x 400), in logical pixels.
QRect SquareRect(QStringView name);

// Input as a person gives it: a press and a release sent straight to the widget. Nothing here
// touches the widget after the release, which may delete it.
void Press(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Release(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void ClickAt(QWidget* widget, QPoint at);
// Two clicks in quick succession, as Qt delivers them: the second press is followed by a
// double click event.
void DoubleClickAt(QWidget* widget, QPoint at);
void ClickSquare(QWidget* widget, QStringView name);
// A choice of the promotion chooser on square `promotion`, 0 to 7 (Q, R, B, N for each side).
void ClickChoice(QWidget* widget, QStringView promotion, std::int16_t k);

// The widget painted into an image at a device pixel ratio.
QImage Render(QWidget* widget, qreal device_pixel_ratio);
// One square of a rendering, in device pixels.
QImage SquareImage(const QImage& rendering, QStringView name);

// Pixels of a square (logical) in a rendering more than two levels off the core's own render of
// the same board in any channel (Qt's compositing rounds its own way).
int PixelsOffTheCoresRender(const QImage& rendering, const RgbImage& core, const QRect& square);

// Compares a face's properties with the member table: every member a host sees (Enabled is
// the face's own) in the table's order, lower camel case, of the kind's type, with its notice;
// a missing one is named with `face`.
void CompareWithTheMemberTable(const QMetaObject& meta, const char* face);

// A position text from eight rows, row 1 first.
QString Rows(std::initializer_list<const char*> rows);

}  // namespace velmora::testing
