#include "results/passrate.h"

namespace {

std::optional<int> plainScore(const QString &text)
{
    if (text.isEmpty() || text.size() > 3)
        return std::nullopt;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    if (text.size() > 1 && text.front() == u'0')
        return std::nullopt;
    const int s = text.toInt();
    if (s > 100)
        return std::nullopt;
    return s;
}

} // namespace

std::optional<int> JudgePassRate(const QString &scoreText)
{
    const std::optional<int> s = plainScore(scoreText);
    if (!s)
        return std::nullopt;
    for (const PassBandRow &row : PassBand) {
        if (*s >= row.lowest && *s <= row.highest)
            return row.band;
    }
    return std::nullopt;
}
