#include "windows/framewatcher.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

constexpr int patienceMs = 3000;

} // namespace

void FrameWatcher::whenKnown(QWidget *window, std::function<void()> framed)
{
    new FrameWatcher(window, std::move(framed));
}

FrameWatcher::FrameWatcher(QWidget *window, std::function<void()> framed)
    : QObject(window), m_window(window), m_framed(std::move(framed))
{
    window->installEventFilter(this);
    QTimer::singleShot(patienceMs, this, &QObject::deleteLater);
}

// The frame becomes known as the window shows where the platform frames it
// itself, or with the move or resize a window manager's reparenting causes.
bool FrameWatcher::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool mayKnow =
        type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize || type == QEvent::Expose;
    if (watched == m_window && mayKnow && m_framed && m_window->isVisible()
        && m_window->frameGeometry() != m_window->geometry()) {
        const auto framed = std::exchange(m_framed, nullptr);
        deleteLater();
        framed();
    }
    return QObject::eventFilter(watched, event);
}
