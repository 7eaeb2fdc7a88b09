#include "app/startup.h"

#include "app/vardoapp.h"
#include "platform/install.h"
#include "platform/qttranslations.h"

void startProgram(VardoApp &vardo)
{
    platform::install();
    installQtTranslations();
    vardo.start();
}
