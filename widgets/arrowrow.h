#pragma once

#include <QList>

class QWidget;

// Arrow keys step through one row of controls and stop at its ends. Qt moves
// a lone check box's focus on an arrow key as Tab does, so Down on a row's
// last box would leave the row for whatever comes next in the window's tab
// order, a place a keyboard user cannot see from where they were.
namespace arrowrow {

// Right and Down go to the next control of `row`, Left and Up to the one
// before; on the first and the last control they keep the focus. Home and
// End go to the first and the last.
void attach(const QList<QWidget *> &row);

} // namespace arrowrow
