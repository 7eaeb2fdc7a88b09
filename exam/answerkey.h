#pragma once

#include <array>

// The built-in key of the paper and the rule that marks it. Plain code: it
// needs nothing but the tick state of the choices.

inline constexpr int groupCount = 27;
inline constexpr int maxChoices = 8;

struct GroupKey
{
    int group;           // 1..27, as in chkVardo<group> and pctマル(group)
    int choicesExamined; // choices 1..n are examined
    int correctChoice;
    int points;
};

extern const std::array<GroupKey, groupCount> AnswerKey;

// Tick state of every box: ticked(group, choice), both 1-based.
class AnswerSheet
{
public:
    bool ticked(int group, int choice) const { return m_ticks.at(group - 1).at(choice - 1); }
    void setTicked(int group, int choice, bool on) { m_ticks.at(group - 1).at(choice - 1) = on; }

private:
    std::array<std::array<bool, maxChoices>, groupCount> m_ticks{};
};

struct Marking
{
    std::array<bool, groupCount> correct{}; // index group - 1
    std::array<int, groupCount> points{};
    int total = 0;
};

bool JudgeGroup(const GroupKey &key, const AnswerSheet &sheet);
Marking MarkAnswers(const AnswerSheet &sheet);
