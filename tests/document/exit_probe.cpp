// The program's end while a document is parsed: opens the file named on the
// command line in a pane, says "quit" once the parse has started, and quits;
// last of all it says how long its end took, waits for threads included. A
// parse still running ends the process at once as the application goes, so
// the end is told there too, just before; the last line told is the measure.
#include "document/documentview.h"
#include "support/threadtime.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

std::optional<ThreadTime> ending;

void tellEnd()
{
    if (ending)
        std::printf("ended %lld ms after quitting\n", ending->elapsed());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    // Registered first, so run after every static object is gone.
    std::atexit(tellEnd);
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    auto *view = new DocumentView;
    view->show();
    view->openFile(QString::fromLocal8Bit(argv[1]), DocumentView::Wait::No);
    qAddPostRoutine(tellEnd); // after the job's own, so called before it
    QTimer::singleShot(700, [view] {
        delete view; // as the window goes, giving the parse up
        std::printf("quit\n");
        std::fflush(stdout);
        ending.emplace();
        QCoreApplication::quit();
    });
    return application.exec();
}
