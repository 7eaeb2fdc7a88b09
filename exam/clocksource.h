#pragma once

#include <QDateTime>

#include <functional>

// Where the exam clock reads the time of day; tests put in a clock of their own.
using ClockSource = std::function<QDateTime()>;

inline QDateTime systemTime()
{
    return QDateTime::currentDateTime();
}
