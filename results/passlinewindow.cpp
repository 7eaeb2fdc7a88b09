#include "results/passlinewindow.h"

#include "reading/documentaccessible.h"
#include "results/passlinedocument.h"
#include "results/passlinelayout.h"
#include "results/rowkeys.h"
#include "speech/spokenwords.h"
#include "widgets/background.h"
#include "widgets/designfont.h"
#include "widgets/fittedlabel.h"
#include "widgets/screenfit.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QTextEdit>

PassLineWindow::PassLineWindow(int band, QWidget *parent) : QWidget(parent)
{
    const PassLineLayout &layout = passLineLayouts.at(band - 1);
    setObjectName(QStringLiteral("frm合格ライン%1").arg(band));
    setWindowTitle(QString::fromUtf16(layout.title));
    QWidget *surface =
        screenfit::surface(this, QSize(twips::toPixels(passLineClientWidth), twips::toPixels(passLineClientHeight)));

    // Built first so that it heads the focus chain and opens with the focus.
    const PassLineTable table = passLineTable();
    QTextEdit *document = documentaccessible::makeBox(
        surface, twips::rect(documentLeft, layout.documentTop, documentWidth, layout.documentHeight), table.text,
        table.gaps);
    new RowKeys(document);
    document->setObjectName(QStringLiteral("RichTextBox1"));
    document->setAccessibleName(QStringLiteral("合格ライン一覧"));
    // The window's one way out, which nothing on it shows.
    document->setAccessibleDescription(QStringLiteral("閉じるには Alt+F4"));
    document->setFocus(Qt::OtherFocusReason);

    QLabel *badge = makeLabel(surface, QStringLiteral("Label1"), QString::fromUtf16(layout.badge),
                              designfont::make(designfont::gothic, 15.75, true), QColor(layout.badgeColour),
                              QRect(layout.badgeLeft, badgeTop, layout.badgeWidth, badgeHeight));
    QLabel *comment = makeLabel(surface, QStringLiteral("Label2"), QString::fromUtf16(layout.comment),
                                designfont::make(designfont::gothic, 12, true), QColor(passLineGround),
                                QRect(layout.commentLeft, commentTop, layout.commentWidth, layout.commentHeight));
    // The verdict, badge and comment, labels the table, so a screen reader
    // says it with the table the window opens on. Readers take one label.
    // Its signs are read in words as the table's are (・・・ is a pause).
    badge->setAccessibleName(spokenwords::spoken(badge->text() + QLatin1Char(' ') + comment->text()));
    comment->setAccessibleName(spokenwords::spoken(comment->text()));
    badge->setBuddy(document);
}

// The ground is painted, not set in the palette: a palette set here would give
// every build of the window, and so its text box, new palette keys, and the
// style would cache another set of scroll-bar pictures each time it opens.
void PassLineWindow::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(event->rect(), QColor(passLineGround));
}

QLabel *PassLineWindow::makeLabel(QWidget *surface, const QString &name, const QString &text, const QFont &font,
                                  const QColor &ground, const QRect &twipsRect)
{
    auto *label = new FittedLabel(text, surface);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    // Only the ground changes: the text keeps the default colour on every badge.
    fillBackground(label, ground);
    return label;
}
