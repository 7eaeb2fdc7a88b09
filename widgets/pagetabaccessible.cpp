#include "widgets/pagetabaccessible.h"

#include "widgets/screenpixels.h"
#include "widgets/tabpages.h"

PageTabAccessible::PageTabAccessible(TabPages *tabs, int index) : m_tabs(tabs), m_index(index)
{}

bool PageTabAccessible::isValid() const
{
    return m_tabs && m_index < m_tabs->count();
}

QAccessibleInterface *PageTabAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_tabs.data());
}

QString PageTabAccessible::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name)
        return QString();
    return m_tabs->tabText(m_index);
}

QRect PageTabAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect tab = m_tabs->tabRect(m_index);
    return screenpixels::toScreen(QRect(m_tabs->mapToGlobal(tab.topLeft()), tab.size()), m_tabs);
}

QAccessible::State PageTabAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s = parent()->state();
    s.selectable = true;
    s.selected = m_index == m_tabs->currentIndex();
    s.focused = s.selected && m_tabs->hasFocus();
    return s;
}

void *PageTabAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList PageTabAccessible::actionNames() const
{
    return {pressAction()};
}

void PageTabAccessible::doAction(const QString &name)
{
    if (isValid() && name == pressAction())
        m_tabs->setCurrentIndex(m_index);
}
