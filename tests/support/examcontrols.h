#pragma once

// Finding and working the exam window's controls by their names, the way the
// window tests and a candidate reach them.

#include "widgets/tabpages.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace examcontrols {

template<typename T = QWidget>
T *find(const QObject *root, const QString &name)
{
    T *found = root->findChild<T *>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

// NAME(INDEX), the name of one element of a control array.
inline QString element(const QString &array, int index)
{
    return QStringLiteral("%1(%2)").arg(array).arg(index);
}

inline QCheckBox *box(const QObject *root, int group, int choice)
{
    return find<QCheckBox>(root, element(QStringLiteral("chkVardo%1").arg(group), choice));
}

inline QLabel *mark(const QObject *root, int group)
{
    return find<QLabel>(root, element(QStringLiteral("pctマル"), group));
}

inline void click(const QObject *root, const QString &button)
{
    QTest::mouseClick(find<QPushButton>(root, button), Qt::LeftButton);
}

// Toggles a box as a candidate does: open its answer page, click the box.
inline void tickBox(const QObject *root, int group, int choice)
{
    find<TabPages>(root, QStringLiteral("SSTab2"))->setCurrentIndex(group - 1);
    QCheckBox *target = box(root, group, choice);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, target->height() / 2));
}

// The names of the windows shown, sorted.
inline QStringList openWindows()
{
    QStringList names;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowType() == Qt::Window)
            names << widget->objectName();
    }
    names.sort();
    return names;
}

} // namespace examcontrols
