#include "exam/minutecounter.h"

#include <algorithm>

namespace {

constexpr qint64 msPerMinute = 60 * 1000;

// Minutes since the epoch, rounded down. Minute boundaries of the epoch
// coincide with those of local time (zone offsets are whole minutes), and
// daylight-saving changes do not shift them.
qint64 minuteIndex(const QDateTime &at)
{
    const qint64 ms = at.toMSecsSinceEpoch();
    return ms >= 0 ? ms / msPerMinute : -((-ms + msPerMinute - 1) / msPerMinute);
}

} // namespace

void MinuteCounter::start(const QDateTime &now)
{
    m_remaining = attemptMinutes;
    m_last = now;
}

bool MinuteCounter::advance(const QDateTime &now)
{
    const qint64 passed = minuteIndex(now) - minuteIndex(m_last);
    m_last = now;
    if (passed <= 0 || m_remaining == 0)
        return false;
    m_remaining = int(std::max<qint64>(0, m_remaining - passed));
    return true;
}

QString MinuteCounter::text() const
{
    return QStringLiteral("%1:%2").arg(m_remaining / 60).arg(m_remaining % 60, 2, 10, QLatin1Char('0'));
}

std::optional<int> MinuteCounter::minutesIn(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool hours = false, minutes = false;
    if (parts.size() != 2 || parts.at(1).size() != 2)
        return std::nullopt;
    const int h = parts.at(0).toInt(&hours), m = parts.at(1).toInt(&minutes);
    if (!hours || !minutes || h < 0 || m < 0 || m > 59)
        return std::nullopt;
    return h * 60 + m;
}
