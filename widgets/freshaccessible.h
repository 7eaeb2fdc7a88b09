#pragma once

class QAccessibleInterface;
class QWidget;

// A screen reader keeps the states it has read of an object and updates them
// from events, and Qt tells it only that a widget now shows ("showing"),
// never that it is "visible": Orca's review passes over a control read while
// it was hidden. Called before `widget` shows, this gives it and everything
// on it new accessible objects, read afresh. Without a reader it does nothing.
void refreshAccessible(QWidget *widget);

// Drops the accessible interface Qt made and keeps for `widget`, unless
// `keep` says it is the one wanted; the next question makes a new one.
// Asked with or without a reader: Qt keeps what it made before one came.
void dropAccessible(QWidget *widget, bool (*keep)(QAccessibleInterface *) = nullptr);

// Qt makes and keeps an interface at the first event about a widget, such
// as its text or title being set, before the widget is marked to be read as
// `Own`: that one would answer as the plain widget does.
template<typename Own>
void dropEarlyAccessible(QWidget *widget)
{
    dropAccessible(widget, [](QAccessibleInterface *made) { return dynamic_cast<Own *>(made) != nullptr; });
}
