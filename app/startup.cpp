#include "app/startup.h"

#include "app/largeblocks.h"
#include "app/latealtpress.h"
#include "app/qttranslations.h"
#include "app/vardoapp.h"
#include "exam/appfolder.h"
#include "widgets/install.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

void setPluginFolders()
{
    QStringList folders{QLibraryInfo::path(QLibraryInfo::PluginsPath)};
    folders += qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    if (!AppFolderPath().isEmpty())
        folders.append(AppFolderPath());
    QCoreApplication::setLibraryPaths(folders);
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
