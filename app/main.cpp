#include "app/startup.h"
#include "app/vardoapp.h"
#include "exam/appfolder.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    enterUnnamedProgramFolder();
    QApplication application(argc, argv);
    VardoApp vardo;
    startProgram(vardo);
    return application.exec();
}
