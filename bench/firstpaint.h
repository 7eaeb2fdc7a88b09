#pragma once

#include <QByteArray>
#include <QObject>
#include <QWidget>

#include <functional>

// Reports the first paint of a window on standard output and quits, so that a
// driver can time process start to first picture. The line reads
// "painted <peak kB>", followed by what `probe` says at the moment of the
// paint, when one is given.
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
