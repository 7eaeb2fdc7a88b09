#include "reading/viewportextents.h"

#include <algorithm>

namespace {

// One axis of the viewport, in global coordinates, and of the screen.
struct Axis
{
    int view;      // the viewport's first coordinate
    int length;    // the viewport's length
    int screen;    // the screen's first coordinate
    int screenEnd; // past the screen's last

    // What is added to a viewport coordinate before the viewport and after
    // it: to put it a pixel past the screen's edge (a reader may count a
    // box's far edge in, and a window may reach that edge), or where it is
    // when the viewport itself reaches past that edge.
    int before() const { return std::min(view, screen - 1); }
    int after() const { return std::max(view, screenEnd - length + 1); }
};

struct Span
{
    int start;
    int length;
};

bool hiddenBefore(Span box)
{
    return box.start < 0 && box.start + box.length <= 0;
}
bool hiddenAfter(Span box, int length)
{
    return box.start >= length && box.start + box.length > length;
}

Span toGlobal(Span box, const Axis &axis)
{
    const int end = box.start + box.length;
    if (hiddenBefore(box))
        return {box.start + axis.before(), box.length};
    if (hiddenAfter(box, axis.length))
        return {box.start + axis.after(), box.length};
    const int from = std::max(box.start, 0);
    return {axis.view + from, std::min(end, axis.length) - from};
}

std::optional<int> toViewport(int global, const Axis &axis)
{
    if (global >= axis.view && global < axis.view + axis.length)
        return global - axis.view;
    if (global - axis.before() < 0)
        return global - axis.before();
    if (global - axis.after() >= axis.length)
        return global - axis.after();
    return std::nullopt;
}

Axis horizontal(const QRect &viewport, const QRect &screen)
{
    return {viewport.x(), viewport.width(), screen.x(), screen.x() + screen.width()};
}

Axis vertical(const QRect &viewport, const QRect &screen)
{
    return {viewport.y(), viewport.height(), screen.y(), screen.y() + screen.height()};
}

} // namespace

namespace viewportextents {

QRect toGlobal(const QRect &box, const QRect &viewport, const QRect &screen)
{
    const Span x = ::toGlobal({box.x(), box.width()}, horizontal(viewport, screen));
    const Span y = ::toGlobal({box.y(), box.height()}, vertical(viewport, screen));
    return QRect(x.start, y.start, x.length, y.length);
}

std::optional<QPoint> toViewport(const QPoint &point, const QRect &viewport, const QRect &screen)
{
    const std::optional<int> x = ::toViewport(point.x(), horizontal(viewport, screen));
    const std::optional<int> y = ::toViewport(point.y(), vertical(viewport, screen));
    if (!x || !y)
        return std::nullopt;
    return QPoint(*x, *y);
}

bool acrossEdge(const QRect &box, const QRect &other, int height)
{
    const auto shows = [height](const QRect &r) {
        const Span span{r.y(), r.height()};
        return !hiddenBefore(span) && !hiddenAfter(span, height);
    };
    return shows(box) != shows(other);
}

} // namespace viewportextents
