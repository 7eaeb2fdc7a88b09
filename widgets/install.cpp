#include "widgets/install.h"

#include "widgets/announcer.h"
#include "widgets/designfont.h"
#include "widgets/pageframe.h"
#include "widgets/spokenlabel.h"
#include "widgets/tabpagesaccessible.h"
#include "widgets/windowaccessible.h"

namespace widgets {

void install()
{
    designfont::registerSubstitutes();
    spoken::installAccessibility();
    installTabPagesAccessibility();
    installAnnouncerAccessibility();
    installWindowAccessibility();
    pageframe::installAccessibility();
}

} // namespace widgets
