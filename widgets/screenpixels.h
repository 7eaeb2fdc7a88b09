#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Where a screen reader or a magnifier is told a thing lies. Qt's AT-SPI
// bridge passes on the device-independent pixels Qt lays out in; on a
// desktop scaled to 150 or 200 % those are not the screen's, and a
// magnifier following the focus would look at two thirds or half the
// distance. These turn a global rect on `widget`'s screen into the screen's
// own pixels, and a point of the screen's back.
namespace screenpixels {

QRect toScreen(const QRect &global, const QWidget *widget);
QPoint fromScreen(const QPoint &point, const QWidget *widget);

} // namespace screenpixels
