#include "exam/answerkey.h"

// group, choices examined, correct choice, points
const std::array<GroupKey, groupCount> AnswerKey = {{
    {1, 5, 3, 4},  {2, 5, 4, 4},  {3, 4, 1, 4},  {4, 5, 3, 4},  {5, 5, 3, 4},  {6, 5, 3, 4},
    {7, 5, 5, 3},  {8, 5, 2, 3},  {9, 4, 1, 4},  {10, 5, 2, 4}, // shows six boxes; the sixth is never examined
    {11, 5, 5, 3}, {12, 5, 4, 3}, {13, 4, 1, 4}, {14, 4, 4, 3}, {15, 4, 1, 3}, {16, 4, 3, 4},
    {17, 8, 6, 3}, {18, 6, 4, 3}, {19, 5, 2, 4}, {20, 5, 2, 4}, {21, 4, 1, 4}, {22, 6, 2, 4},
    {23, 4, 2, 4}, {24, 4, 1, 4}, {25, 4, 3, 4}, {26, 4, 1, 4}, {27, 5, 3, 4},
}};

// Right exactly when the correct choice is ticked and no other examined one.
bool JudgeGroup(const GroupKey &key, const AnswerSheet &sheet)
{
    for (int choice = 1; choice <= key.choicesExamined; ++choice) {
        if (sheet.ticked(key.group, choice) != (choice == key.correctChoice))
            return false;
    }
    return true;
}

Marking MarkAnswers(const AnswerSheet &sheet)
{
    Marking marking;
    for (const GroupKey &key : AnswerKey) {
        const int i = key.group - 1;
        marking.correct[i] = JudgeGroup(key, sheet);
        marking.points[i] = marking.correct[i] ? key.points : 0;
        marking.total += marking.points[i];
    }
    return marking;
}
