#include "widgets/pageframe.h"

#include "widgets/freshaccessible.h"
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
    // One made when its title was set would be a grouping.
    dropEarlyAccessible<PageFrame>(frame);
}

} // namespace pageframe
