#include "platform/install.h"
#include "app/vardoapp.h"
#include "platform/documentjob.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    platform::install();
    int status = 0;
    {
        VardoApp vardo;
        vardo.start();
        status = application.exec();
    }
    DocumentJob::leaveStragglers(status);
    return status;
}
