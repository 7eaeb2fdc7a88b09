#include "widgets/freshaccessible.h"

#include <QAccessible>
#include <QWidget>

void dropAccessible(QWidget *widget, bool (*keep)(QAccessibleInterface *))
{
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(widget);
    if (made && !(keep && keep(made)))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void refreshAccessible(QWidget *widget)
{
    // Without a reader there is nothing to refresh, and asking would make one.
    if (!QAccessible::isActive())
        return;
    QList<QWidget *> widgets = widget->findChildren<QWidget *>();
    widgets.prepend(widget);
    for (QWidget *each : std::as_const(widgets))
        dropAccessible(each);
}
