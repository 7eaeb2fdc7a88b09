#include "results/passrate.h"

std::optional<int> JudgePassRate(int score)
{
    for (const PassBandRow &row : PassBand) {
        if (score >= row.lowest && score <= row.highest)
            return row.band;
    }
    return std::nullopt;
}
