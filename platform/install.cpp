#include "platform/install.h"

#include "platform/designfont.h"
#include "platform/largeblocks.h"
#include "platform/spokenlabel.h"
#include "platform/tabpagesaccessible.h"

namespace platform {

void install()
{
    largeblocks::returnToTheSystemWhenFreed();
    designfont::registerSubstitutes();
    spoken::installAccessibility();
    installTabPagesAccessibility();
}

} // namespace platform
