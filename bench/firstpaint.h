#pragma once

#include <QByteArray>
#include <QObject>
#include <QWidget>

#include <functional>

// Marks a moment of start-up, by the monotonic clock the driver reads too:
// FirstPaint writes them all on a second line, "marks NAME=SECONDS ...", so
// that the driver can split start-up into its phases.
void markStartup(const char *name);
// Marks "show" when the first widget of the application is shown: the end of
// building the window, the start of showing it.
void markFirstShow();

// Reports the first paint of a window on standard output and quits, so that a
// driver can time process start to first picture. The line reads
// "painted <peak kB>", followed by what `probe` says at the moment of the
// paint, when one is given; the marks follow on a line of their own, the
// last two the start of the paint ("paint") and its end ("painted").
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window, std::function<QByteArray()> probe = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<QByteArray()> m_probe;
    bool m_seen = false;
};
