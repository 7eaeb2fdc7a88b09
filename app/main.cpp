#include "app/vardoapp.h"
#include "platform/qttranslations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    installQtTranslations();
    VardoApp vardo;
    vardo.start();
    return application.exec();
}
