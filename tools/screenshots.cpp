// Writes the README's screenshots from an offscreen run of the real windows:
//   screenshots OUTPUT_FOLDER
// The paper is the 00Vardo.tx beside the tool (the build copies it there).
// When the question page shows no paper, because none was found or the pane
// refused it, nothing is written and the exit status is 1.
#include "app/startup.h"
#include "app/vardoapp.h"
#include "exam/answerkey.h"
#include "exam/examwindow.h"
#include "document/documentview.h"
#include "widgets/tabpages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "support/examcontrols.h"

namespace {

void save(QWidget *window, const QDir &folder, const QString &name)
{
    QApplication::processEvents();
    if (!window->grab().save(folder.filePath(name)))
        qFatal("cannot write %s", qPrintable(folder.filePath(name)));
}

// Ticks the key's answer in every group but a few, as a fair candidate might.
void answerMostOfThePaper(QWidget *window)
{
    for (const GroupKey &key : AnswerKey) {
        const bool slip = key.group % 6 == 0;
        const int choice = slip ? key.correctChoice % key.choicesExamined + 1 : key.correctChoice;
        examcontrols::box(window, key.group, choice)->setChecked(true);
    }
}

// The not-found page and the refused page carry no title; the paper does.
bool showsAPaper(ExamWindow *exam)
{
    const auto *pane = examcontrols::find<DocumentView>(exam, QStringLiteral("Scriptlet1"));
    return !pane->folder().isEmpty() && !pane->documentTitle().isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    setUpProcess();
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));

    VardoApp vardo;
    vardo.start();
    ExamWindow *exam = vardo.examWindow();
    if (!QTest::qWaitForWindowExposed(exam))
        qFatal("the exam window was never shown");
    if (!showsAPaper(exam)) {
        qCritical("the question page shows no paper (00Vardo.tx missing beside the tool, "
                  "or refused by the pane); no screenshots written");
        return 1;
    }

    answerMostOfThePaper(exam);
    examcontrols::click(exam, QStringLiteral("cmd得点"));
    examcontrols::find<TabPages>(exam, QStringLiteral("SSTab1"))->setCurrentIndex(4);
    examcontrols::find<TabPages>(exam, QStringLiteral("SSTab2"))->setCurrentIndex(13);
    save(exam, folder, QStringLiteral("main-window.png"));

    examcontrols::find<TabPages>(exam, QStringLiteral("SSTab1"))->setCurrentIndex(0);
    save(exam, folder, QStringLiteral("question-page.png"));

    examcontrols::click(exam, QStringLiteral("cmd合格率"));
    const QString score = exam->scoreText();
    for (int band = 1; band <= 6; ++band) {
        if (QWidget *verdict = vardo.passLineWindow(band); verdict && verdict->isVisible())
            save(verdict, folder, QStringLiteral("pass-line-window.png"));
    }
    exam->aboutAction()->trigger();
    save(vardo.helpWindow(), folder, QStringLiteral("help-window.png"));
    qInfo("score %s, screenshots in %s", qPrintable(score), qPrintable(folder.absolutePath()));
    return 0;
}
