#include "widgets/richtextbox.h"

#include "widgets/designfont.h"

#include <QTextEdit>

namespace richtextbox {

void setUp(QTextEdit *box, const QRect &geometry)
{
    // Sized before it is filled: a box still at its default size scrolls
    // past the first line to keep the cursor in view.
    box->setGeometry(geometry);
    box->setFont(designfont::make(designfont::gothic, 9));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setLineWrapMode(QTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setAcceptRichText(false);
}

} // namespace richtextbox
