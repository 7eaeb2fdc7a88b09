#include "windows/secondarywindow.h"

#include "windows/placement.h"

#include <utility>

SecondaryWindow::SecondaryWindow(Builder build) : m_build(std::move(build))
{}

SecondaryWindow::~SecondaryWindow()
{
    delete m_window;
}

QWidget *SecondaryWindow::window() const
{
    // A closed window lingers hidden until its deferred delete runs; it no
    // longer counts as open and must not be shown again.
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

QWidget *SecondaryWindow::show()
{
    QWidget *open = window();
    if (!open) {
        open = m_build();
        open->setAttribute(Qt::WA_DeleteOnClose);
        m_window = open;
        placement::centerOnScreen(open);
    }
    // show() alone leaves a minimized window where it is, out of sight.
    open->setWindowState((open->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

void SecondaryWindow::close()
{
    if (QWidget *open = window())
        open->close();
}
