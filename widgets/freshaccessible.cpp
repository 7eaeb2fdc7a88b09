#include "widgets/freshaccessible.h"

#include <QAccessible>
#include <QWidget>

void refreshAccessible(QWidget *widget)
{
    // Without a reader there is nothing to refresh, and asking would make one.
    if (!QAccessible::isActive())
        return;
    QList<QWidget *> widgets = widget->findChildren<QWidget *>();
    widgets.prepend(widget);
    for (QWidget *each : std::as_const(widgets)) {
        if (QAccessibleInterface *known = QAccessible::queryAccessibleInterface(each))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
    }
}
