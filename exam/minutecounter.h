#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The exam clock's count of remaining minutes. Each wall-clock minute
// boundary passed since the previous reading counts exactly once, however
// late or early the readings come: a stalled machine loses no minutes and
// two readings within one second 0 count it once. Readings carry the date,
// so midnight is an ordinary boundary; a clock set backwards counts nothing.
class MinuteCounter
{
public:
    static constexpr int attemptMinutes = 60;

    // A new attempt: the full hour, counted from `now`.
    void start(const QDateTime &now);
    // Counts the boundaries passed since the previous reading (or the start).
    // True when the remaining minutes changed.
    bool advance(const QDateTime &now);

    int remaining() const { return m_remaining; }
    // The remaining time as "h:mm": 1:00, 0:59 ... 0:00.
    QString text() const;
    // The minutes a text() shows ("0:59": 59); none for any other text.
    static std::optional<int> minutesIn(const QString &text);

private:
    int m_remaining = 0;
    QDateTime m_last;
};
