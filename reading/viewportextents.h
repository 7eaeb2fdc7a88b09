#pragma once

#include <QPoint>
#include <QRect>

#include <optional>

// Where a reader is told a character of a scrolled pane lies. A character
// that shows, even in part, lies in the pane's viewport, cut to the part
// that shows. One scrolled out of view lies past the edge of the screen on
// the side it is scrolled to, never over another control: a reader that
// places text by its extents (Orca's flat review) would otherwise read the
// hidden lines of the paper among the rows of the answer boxes. Its order
// on each axis is kept, as a reader may search the text by position.
namespace viewportextents {

// `box` in viewport coordinates; `viewport` and `screen` in global ones.
QRect toGlobal(const QRect &box, const QRect &viewport, const QRect &screen);

// The viewport point that toGlobal() reports at `point`; none on the
// screen outside the viewport, where no character of the pane is reported.
std::optional<QPoint> toViewport(const QPoint &point, const QRect &viewport, const QRect &screen);

// Whether one of two boxes (in viewport coordinates) shows in a viewport
// `height` high and the other is scrolled out of it, above or below.
bool acrossEdge(const QRect &box, const QRect &other, int height);

} // namespace viewportextents
