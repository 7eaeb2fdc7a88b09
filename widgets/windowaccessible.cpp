#include "widgets/windowaccessible.h"

#include "widgets/screenaccessible.h"

#include <QAccessible>
#include <QWidget>

namespace {

// Asked with the object's own class name first: only a plain top-level
// window, or one made directly from QWidget, is taken; popups, tool windows
// and every class Qt knows better keep what Qt gives them.
QAccessibleInterface *windowFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    const QMetaObject *meta = object->metaObject();
    if (widget->windowType() != Qt::Window || className != QLatin1String(meta->className()))
        return nullptr;
    if (meta != &QWidget::staticMetaObject && meta->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new ScreenAccessible(widget, QAccessible::Window);
}

} // namespace

void installWindowAccessibility()
{
    QAccessible::installFactory(windowFactory);
}
