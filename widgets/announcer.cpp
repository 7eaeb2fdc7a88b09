#include "widgets/announcer.h"

#include "widgets/screenaccessible.h"

#include <QAccessible>

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("announcer"));
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    hide();
}

// A notification's arrival is its "showing" signal; the widget itself never
// shows, so that it takes no room and nothing can click it.
void Announcer::announce(const QString &message)
{
    setAccessibleName(message);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

namespace {

QAccessibleInterface *announcerFactory(const QString &, QObject *object)
{
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new ScreenAccessible(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAnnouncerAccessibility()
{
    QAccessible::installFactory(announcerFactory);
}
