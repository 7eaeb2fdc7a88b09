#include <QAccessible>
#include <QDialog>
#include <QMenu>
#include <QTest>

#include <memory>

#include "support/testmain.h"

namespace {

// A window of the program's own kind: made directly from QWidget.
class OwnWindow : public QWidget
{
    Q_OBJECT
};

class OwnDialog : public QDialog
{
    Q_OBJECT
};

} // namespace

// A screen reader names the window it enters from the frame above the
// focus: a window must be a frame to it, and nothing else may become one.
class WindowAccessibleTest : public QObject
{
    Q_OBJECT

private slots:
    void role_isAWindowForWindowsOnly_data();
    void role_isAWindowForWindowsOnly();
};

void WindowAccessibleTest::role_isAWindowForWindowsOnly_data()
{
    QTest::addColumn<std::function<QWidget *()>>("make");
    QTest::addColumn<int>("role");
    using Make = std::function<QWidget *()>;
    QTest::newRow("plain window") << Make([] { return new QWidget; }) << int(QAccessible::Window);
    QTest::newRow("own window") << Make([] { return new OwnWindow; }) << int(QAccessible::Window);
    QTest::newRow("dialog") << Make([] { return new OwnDialog; }) << int(QAccessible::Dialog);
    QTest::newRow("popup menu") << Make([] { return new QMenu; }) << int(QAccessible::PopupMenu);
    QTest::newRow("tool window") << Make([] { return new QWidget(nullptr, Qt::Tool); }) << int(QAccessible::Client);
    QTest::newRow("control in a window") << Make([] {
        auto *window = new QWidget;
        return new QWidget(window);
    }) << int(QAccessible::Client);
}

void WindowAccessibleTest::role_isAWindowForWindowsOnly()
{
    QFETCH(std::function<QWidget *()>, make);
    QFETCH(int, role);
    QWidget *widget = make();
    std::unique_ptr<QWidget> window(widget->window());
    QCOMPARE(int(QAccessible::queryAccessibleInterface(widget)->role()), role);
}

VARDO_TEST_MAIN(WindowAccessibleTest)
#include "windowaccessible_test.moc"
