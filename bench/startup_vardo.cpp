// Start-up probe: the real program's start-up, ended at its first paint. The
// paper sits beside this program as beside Vardo. The report line ends with
// the number of characters the document pane held when the window was
// painted; a second line, written after the timing, says whether that was the
// paper ("paper yes") or something else, such as a page of the program's own.
#include "app/startup.h"
#include "app/vardoapp.h"
#include "document/documentclean.h"
#include "bench/firstpaint.h"
#include "exam/appfolder.h"
#include "exam/examwindow.h"
#include "markup/htmldecode.h"

#include <QApplication>
#include <QFile>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>

namespace {

QString paperText()
{
    QFile file(AppFolderPath() + QStringLiteral("00Vardo.tx"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QTextDocument document;
    document.setHtml(htmldecode::decode(file.readAll()));
    // As the pane cleans it: without the spaces that close its paragraphs.
    documentclean::dropClosingSpaces(document);
    return document.toPlainText();
}

} // namespace

int main(int argc, char *argv[])
{
    markStartup("main");
    QApplication application(argc, argv);
    markStartup("app");
    markFirstShow();
    VardoApp vardo;
    startProgram(vardo); // as main() starts the program
    const auto *pane = vardo.examWindow()->findChild<QTextEdit *>(QStringLiteral("Scriptlet1"));
    QString shown;
    new FirstPaint(vardo.examWindow(), [pane, &shown] {
        shown = pane ? pane->toPlainText() : QString();
        return QByteArray::number(shown.size());
    });
    markStartup("exec");
    const int status = application.exec();
    const QString paper = paperText();
    std::printf("paper %s\n", !paper.isEmpty() && shown == paper ? "yes" : "no");
    return status;
}
