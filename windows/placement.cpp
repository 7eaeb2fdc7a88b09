#include "windows/placement.h"

#include "windows/framewatcher.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace placement {

namespace {

QMargins frameMarginsOf(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// The frame a window has, or failing that the one another window was given.
QMargins likelyFrameMargins(const QWidget *window)
{
    if (window->isVisible())
        return frameMarginsOf(window);
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other->isVisible() && other->windowType() == Qt::Window)
            return frameMarginsOf(other);
    }
    return QMargins();
}

void centre(QWidget *window, const QMargins &margins)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // A window that scrolls its content where the screen is small: within it.
    window->resize(window->size().boundedTo(available.size().shrunkBy(margins)));
    QRect frame(QPoint(), window->size().grownBy(margins));
    frame.moveCenter(available.center());
    window->move(qMax(frame.left(), available.left()), qMax(frame.top(), available.top()));
}

} // namespace

void centerOnScreen(QWidget *window)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    const QMargins guess = likelyFrameMargins(window);
    centre(window, guess);
    if (!window->isVisible()) {
        FrameWatcher::whenKnown(window, [window, guess] {
            if (frameMarginsOf(window) != guess)
                centre(window, frameMarginsOf(window));
        });
    }
}

} // namespace placement
