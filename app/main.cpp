#include "app/startup.h"
#include "app/vardoapp.h"
#include "document/documentjob.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    int status = 0;
    {
        VardoApp vardo;
        startProgram(vardo);
        status = application.exec();
    }
    DocumentJob::leaveStragglers(status);
    return status;
}
