#include "app/startup.h"

#include "app/largeblocks.h"
#include "app/latealtpress.h"
#include "app/qttranslations.h"
#include "app/vardoapp.h"
#include "exam/appfolder.h"
#include "widgets/install.h"

#include <QFile>

#include <cstdio>
#include <unistd.h>

void enterUnnamedProgramFolder()
{
    const QString folder = AppFolderPath();
    if (folder.startsWith(QLatin1String("/proc/self/fd/")) && ::chdir(QFile::encodeName(folder).constData()) != 0)
        std::perror("Vardo: the program's folder");
}

void setUpProcess()
{
    largeblocks::returnToTheSystemWhenFreed();
    widgets::install();
    installQtTranslations();
    LateAltPress::install();
}

void startProgram(VardoApp &vardo)
{
    setUpProcess();
    vardo.start();
}
