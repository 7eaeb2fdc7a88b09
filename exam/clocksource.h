#pragma once

#include <QDateTime>

#include <functional>

// Where the exam clock reads the time of day; tests put in a clock of their own.
using ClockSource = std::function<QDateTime()>;

// UTC: minute boundaries are the same as local ones, and reading it needs no
// look at the time-zone files on every tick.
inline QDateTime systemTime()
{
    return QDateTime::currentDateTimeUtc();
}
