#include "widgets/pageframe.h"

#include "widgets/screenaccessible.h"

#include <QGroupBox>

namespace {

const char pageFrameProperty[] = "repeatedOnEveryPage";

class PageFrame : public ScreenAccessible
{
public:
    explicit PageFrame(QGroupBox *frame) : ScreenAccessible(frame, QAccessible::Client) {}

    QString text(QAccessible::Text t) const override
    {
        const QString own = ScreenAccessible::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return static_cast<const QGroupBox *>(widget())->title();
        return own;
    }
};

QAccessibleInterface *pageFrameFactory(const QString &, QObject *object)
{
    auto *frame = qobject_cast<QGroupBox *>(object);
    if (frame && frame->property(pageFrameProperty).toBool())
        return new PageFrame(frame);
    return nullptr;
}

} // namespace

namespace pageframe {

void installAccessibility()
{
    QAccessible::installFactory(pageFrameFactory);
}

void mark(QGroupBox *frame)
{
    frame->setProperty(pageFrameProperty, true);
    // Qt makes and keeps an interface at the first event about the frame,
    // such as its title being set: that one would be a grouping.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(frame);
    if (made && !dynamic_cast<PageFrame *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace pageframe
