// Copied into an installed program folder and started through a link from
// another folder, the way bin/vardo starts the program: builds the real exam
// window and checks that every file named on the command line is found
// beside the program through AppFolderPath. Exit status 0 when all are.
#include "app/startup.h"
#include "exam/appfolder.h"
#include "exam/examwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    setUpProcess();
    ExamWindow window;
    window.show();
    QCoreApplication::processEvents();

    QTextStream err(stderr);
    const QString folder = AppFolderPath();
    int missing = 0;
    for (const QString &name : application.arguments().mid(1)) {
        if (!QFileInfo(folder + name).isFile()) {
            err << "not found beside the program: " << folder + name << "\n";
            ++missing;
        }
    }
    QTextStream(stdout) << "program folder: " << folder << "\n";
    return missing == 0 ? 0 : 1;
}
