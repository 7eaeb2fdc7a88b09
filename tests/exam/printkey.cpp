// Prints the answer key built into the program, one group a line:
//   group <tab> page caption <tab> boxes shown <tab> choices examined <tab> correct <tab> points
// so that checks outside C++ (tools/check_paper.py) read the key the program
// marks with instead of keeping a copy of their own.
#include "exam/answerkey.h"
#include "exam/examlayout.h"

#include <cstdio>

int main()
{
    for (const GroupKey &key : AnswerKey) {
        const examlayout::AnswerPage &page = examlayout::answerPages[key.group - 1];
        std::printf("%d\t%s\t%d\t%d\t%d\t%d\n", key.group, page.caption, page.choices, key.choicesExamined,
                    key.correctChoice, key.points);
    }
    return 0;
}
