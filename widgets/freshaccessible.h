#pragma once

class QWidget;

// A screen reader keeps the states it has read of an object and updates them
// from events, and Qt tells it only that a widget now shows ("showing"),
// never that it is "visible": Orca's review passes over a control read while
// it was hidden. Called before `widget` shows, this gives it and everything
// on it new accessible objects, read afresh. Without a reader it does nothing.
void refreshAccessible(QWidget *widget);
