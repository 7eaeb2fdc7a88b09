#include "widgets/screenpixels.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {

struct Scale
{
    QPointF origin;
    qreal factor = 1;
};

// Qt scales about the screen's top-left corner, which both kinds of pixel
// share. Only on X (and the test platform, which scales as X does) are the
// bridge's pixels the screen's when Qt does not scale; elsewhere they are
// not screen positions at all, and are left as they are.
Scale scaleOf(const QWidget *widget)
{
    static const bool onX = QGuiApplication::platformName() == QLatin1String("xcb")
        || QGuiApplication::platformName() == QLatin1String("offscreen");
    const QScreen *screen = widget && onX ? widget->screen() : nullptr;
    if (!screen)
        return {};
    return {QPointF(screen->geometry().topLeft()), screen->devicePixelRatio()};
}

} // namespace

namespace screenpixels {

QRect toScreen(const QRect &global, const QWidget *widget)
{
    const Scale scale = scaleOf(widget);
    if (scale.factor == 1 || global == QRect()) // nothing, not a point
        return global;
    const auto map = [&](QPoint p) { return ((QPointF(p) - scale.origin) * scale.factor + scale.origin).toPoint(); };
    // Both edges mapped, so that boxes side by side stay side by side.
    const QPoint topLeft = map(global.topLeft());
    const QPoint end = map(global.topLeft() + QPoint(global.width(), global.height()));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QPoint fromScreen(const QPoint &point, const QWidget *widget)
{
    const Scale scale = scaleOf(widget);
    if (scale.factor == 1)
        return point;
    const QPointF p = (QPointF(point) - scale.origin) / scale.factor + scale.origin;
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

} // namespace screenpixels
