#pragma once

#include <QObject>

// Under a screen reader, Qt holds each key press until the reader has seen
// it and then posts it again, while a menu's Alt+letter acts at once. When
// the reader answers late (a loaded machine), the Alt press of Alt+G comes
// after the game menu opened, and Alt in an open menu closes it: the key
// seems never acted on. This drops such a late Alt press: one posted to a
// window other than the open popup's, so pressed before the popup opened.
// An Alt pressed in the open menu still closes it.
class LateAltPress : public QObject
{
public:
    using QObject::QObject;
    // Once per process, on the application.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
