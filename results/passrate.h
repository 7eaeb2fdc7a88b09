#pragma once

#include <array>
#include <optional>

// The ladder that turns a score into one of the six verdict windows. Plain
// code: it needs nothing but the score.

struct PassBandRow
{
    int band;   // the verdict window frm合格ライン<band>
    int lowest; // the row holds when lowest <= s <= highest
    int highest;
};

// Tested in this order; the first row that holds decides.
inline constexpr std::array<PassBandRow, 6> PassBand = {{
    {1, 100, 100},
    {2, 80, 100},
    {3, 60, 100},
    {4, 40, 100},
    {5, 1, 100},
    {6, 0, 0},
}};

// The band of a score, or none for a number outside 0 to 100, which no
// marking gives: it judges to none rather than to a guessed band.
std::optional<int> JudgePassRate(int score);
