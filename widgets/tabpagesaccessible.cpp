#include "widgets/tabpagesaccessible.h"

#include "widgets/pagetabaccessible.h"
#include "widgets/screenaccessible.h"
#include "widgets/screenpixels.h"
#include "widgets/tabpages.h"

#include <QHash>

namespace {

// The tabs come first, then the pages: the controls on them stay reachable.
class TabPagesAccessible : public ScreenAccessible
{
public:
    explicit TabPagesAccessible(TabPages *tabs) : ScreenAccessible(tabs, QAccessible::PageTabList) {}

    ~TabPagesAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_tabIds))
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && tabs()->accessibleName().isEmpty())
            return tabs()->tabText(tabs()->currentIndex());
        return ScreenAccessible::text(t);
    }

    int childCount() const override { return tabs()->count() + ScreenAccessible::childCount(); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0)
            return nullptr;
        if (index >= tabs()->count())
            return ScreenAccessible::child(index - tabs()->count());
        if (QAccessible::Id id = m_tabIds.value(index))
            return QAccessible::accessibleInterface(id);
        auto *tab = new PageTabAccessible(tabs(), index);
        m_tabIds.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->role() == QAccessible::PageTab && child->parent() == this)
            return static_cast<const PageTabAccessible *>(child)->index();
        const int page = ScreenAccessible::indexOfChild(child);
        return page < 0 ? -1 : tabs()->count() + page;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = tabs()->mapFromGlobal(screenpixels::fromScreen(QPoint(x, y), tabs()));
        for (int i = 0; i < tabs()->count(); ++i) {
            if (tabs()->tabRect(i).contains(local))
                return child(i);
        }
        return ScreenAccessible::childAt(x, y);
    }

private:
    TabPages *tabs() const { return static_cast<TabPages *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_tabIds;
};

QAccessibleInterface *tabPagesFactory(const QString &, QObject *object)
{
    if (auto *tabs = qobject_cast<TabPages *>(object))
        return new TabPagesAccessible(tabs);
    return nullptr;
}

} // namespace

void installTabPagesAccessibility()
{
    QAccessible::installFactory(tabPagesFactory);
}
