// Start-up probe: the real program's start-up, ended at its first paint.
#include "platform/install.h"
#include "app/vardoapp.h"
#include "bench/firstpaint.h"
#include "exam/examwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    platform::install();
    VardoApp vardo;
    vardo.start();
    new FirstPaint(vardo.examWindow());
    return application.exec();
}
