#pragma once

#include <QAccessible>
#include <QList>
#include <QString>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

// The accessibility events a screen reader would be sent while an object of
// this class lives (one at a time), each with what the reader would ask of
// it at once: the object's name, and for a caret move the caret's offset.
// Qt raises events only while the platform says a reader listens, so this
// says one does, as a screen reader's arrival does.
class HeardEvents
{
public:
    struct Event
    {
        QAccessible::Event type;
        QObject *object;
        int child;
        QString name;
        int caret;
        QAccessible::Id id; // of the interface the reader is told of
        bool operator==(const Event &) const = default;
    };

    HeardEvents()
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        s_events = &m_events;
        QAccessible::installUpdateHandler(hear);
    }
    ~HeardEvents()
    {
        QAccessible::installUpdateHandler(nullptr);
        s_events = nullptr;
    }
    HeardEvents(const HeardEvents &) = delete;
    HeardEvents &operator=(const HeardEvents &) = delete;

    const QList<Event> &events() const { return m_events; }
    void clear() { m_events.clear(); }

    // The events of one type raised for `object`, in order.
    QList<Event> of(const QObject *object, QAccessible::Event type) const
    {
        QList<Event> found;
        for (const Event &event : m_events) {
            if (event.object == object && event.type == type)
                found.append(event);
        }
        return found;
    }

private:
    static void hear(QAccessibleEvent *event)
    {
        QAccessibleInterface *face = event->accessibleInterface();
        const int caret = event->type() == QAccessible::TextCaretMoved
            ? static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition()
            : -1;
        s_events->append({event->type(), event->object(), event->child(),
                          face ? face->text(QAccessible::Name) : QString(), caret,
                          face ? QAccessible::uniqueId(face) : QAccessible::Id()});
    }

    QList<Event> m_events;
    inline static QList<Event> *s_events = nullptr;
};
