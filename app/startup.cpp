#include "app/startup.h"

#include "app/largeblocks.h"
#include "app/latealtpress.h"
#include "app/qttranslations.h"
#include "app/vardoapp.h"
#include "widgets/install.h"

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
