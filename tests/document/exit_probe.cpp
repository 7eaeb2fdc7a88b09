// The program's end while a document is parsed: opens the file named on the
// command line in a pane, says "quit" once the parse has started, and quits.
#include "document/documentview.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    auto *view = new DocumentView;
    view->show();
    view->openFile(QString::fromLocal8Bit(argv[1]), DocumentView::Wait::No);
    QTimer::singleShot(700, [view] {
        delete view; // as the window goes, giving the parse up
        std::printf("quit\n");
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return application.exec();
}
