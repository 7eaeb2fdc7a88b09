#include "widgets/install.h"

#include "widgets/announcer.h"
#include "widgets/designfont.h"
#include "widgets/pageframe.h"
#include "widgets/screenaccessible.h"
#include "widgets/spokenlabel.h"
#include "widgets/tabpagesaccessible.h"
#include "widgets/windowaccessible.h"

namespace widgets {

void install()
{
    designfont::registerSubstitutes();
    // First, so that every more particular reading is asked before it.
    installScreenAccessibility();
    spoken::installAccessibility();
    installTabPagesAccessibility();
    installAnnouncerAccessibility();
    installWindowAccessibility();
    pageframe::installAccessibility();
}

} // namespace widgets
