#include "platform/install.h"
#include "app/vardoapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    platform::install();
    VardoApp vardo;
    vardo.start();
    return application.exec();
}
