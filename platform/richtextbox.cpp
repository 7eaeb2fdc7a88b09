#include "platform/richtextbox.h"

#include "platform/designfont.h"

#include <QTextEdit>

namespace richtextbox {

QTextEdit *make(QWidget *parent, const QString &text)
{
    auto *box = new QTextEdit(parent);
    box->setFont(designfont::make(designfont::gothic, 9));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setLineWrapMode(QTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setAcceptRichText(false);
    box->setPlainText(text);
    box->moveCursor(QTextCursor::Start);
    return box;
}

} // namespace richtextbox
