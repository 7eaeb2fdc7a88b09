#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Calls back once when a top-level window has been framed, by a window
// manager or by the platform itself, i.e. when Qt first knows the window's
// frame. Gives up quietly after a while, as with a manager that draws no
// frames.
class FrameWatcher : public QObject
{
public:
    static void whenKnown(QWidget *window, std::function<void()> framed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FrameWatcher(QWidget *window, std::function<void()> framed);

    QWidget *m_window;
    std::function<void()> m_framed;
};
