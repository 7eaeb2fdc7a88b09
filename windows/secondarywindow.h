#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// A window that exists at most once: built at its first show, discarded when
// it is closed, built afresh at the next show. It is modeless and top-level
// with no owner, so it lives independently of the window that opened it.
class SecondaryWindow
{
public:
    using Builder = std::function<QWidget *()>;

    explicit SecondaryWindow(Builder build);
    ~SecondaryWindow();
    SecondaryWindow(const SecondaryWindow &) = delete;
    SecondaryWindow &operator=(const SecondaryWindow &) = delete;

    // Builds and centres the window if it is not open, else restores it if
    // minimized and brings it to the front.
    QWidget *show();
    // Closes the window if it is open; never builds one.
    void close();
    // The open window, or null.
    QWidget *window() const;

private:
    Builder m_build;
    QPointer<QWidget> m_window;
};
