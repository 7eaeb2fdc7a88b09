#include "help/helpwindow.h"

#include "help/helpdocument.h"
#include "reading/documentaccessible.h"
#include "widgets/screenfit.h"
#include "widgets/twips.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextEdit>

namespace {

constexpr int clientWidth = 11880;
constexpr int clientHeight = 8595;
// A little larger than the client area, so no border shows at the right and bottom.
constexpr QRect documentBox = twips::rect(0, 0, 11895, 8655);

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmヘルプ"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    QWidget *surface = screenfit::surface(this, QSize(twips::toPixels(clientWidth), twips::toPixels(clientHeight)));

    const QString text = HelpDocument();
    QTextEdit *document = documentaccessible::makeBox(surface, documentBox, text, helpDecoration(text));
    document->setObjectName(QStringLiteral("RichTextBox1"));
    document->setAccessibleName(QStringLiteral("ソフトの説明"));
    // The window's one way out, which nothing on it shows.
    document->setAccessibleDescription(QStringLiteral("閉じるには Alt+F4"));
    document->setFocus(Qt::OtherFocusReason);
    // The caret on the first line with words: the line a screen reader says
    // as the window opens. The view stays at the top.
    const QTextCursor first = document->document()->find(
        QRegularExpression(QStringLiteral("[^\\s\u3000]"), QRegularExpression::UseUnicodePropertiesOption));
    if (!first.isNull()) {
        QTextCursor caret = document->textCursor();
        caret.setPosition(first.block().position());
        document->setTextCursor(caret);
    }
}
