#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class TabPages;

// One tab of a TabPages container as a screen reader sees it: a page tab
// named by its caption, selected while its page shows, which a press selects.
// Tabs are not widgets, so the container's interface makes and owns these.
class PageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    PageTabAccessible(TabPages *tabs, int index);

    int index() const { return m_index; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<TabPages> m_tabs;
    int m_index;
};
