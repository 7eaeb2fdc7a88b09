#include "platform/tabpagesaccessible.h"

#include "platform/tabpages.h"

#include <QAccessibleWidget>

namespace {

class TabPagesAccessible : public QAccessibleWidget
{
public:
    explicit TabPagesAccessible(TabPages *tabs) : QAccessibleWidget(tabs, QAccessible::PageTabList) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *tabs = static_cast<const TabPages *>(widget());
        if (t == QAccessible::Name && tabs->accessibleName().isEmpty())
            return tabs->tabText(tabs->currentIndex());
        return QAccessibleWidget::text(t);
    }
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
