#include "app/latealtpress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

void LateAltPress::install()
{
    qApp->installEventFilter(new LateAltPress(qApp));
}

bool LateAltPress::eventFilter(QObject *watched, QEvent *event)
{
    // A key the window system sends now is spontaneous; the held one is posted.
    if (event->type() != QEvent::KeyPress || event->spontaneous()
        || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Alt)
        return false;
    const QWidget *popup = QApplication::activePopupWidget();
    const auto *window = qobject_cast<QWindow *>(watched);
    return popup && window && window != popup->windowHandle();
}
