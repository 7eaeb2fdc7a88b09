#pragma once

#include <QObject>
#include <QWidget>

// Reports the first paint of a window on standard output ("painted <peak kB>")
// and quits, so that a driver can time process start to first picture.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    bool m_seen = false;
};
