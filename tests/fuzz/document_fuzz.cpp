// The question document's way into the pane: the bytes become 00Vardo.tx,
// which the loader finds and the pane decodes, checks, cleans and lays out;
// then it is used as a reader would: hovered, zoomed, scrolled to the end,
// copied, and its first links followed as clicks would follow them.

#include "exam/questiondocument.h"
#include "document/documentjob.h"
#include "document/documentview.h"
#include "markup/htmldecode.h"
#include "fuzzapp.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>
#include <QWheelEvent>

namespace {

QList<QUrl> firstLinks(const QTextDocument *document, int most)
{
    QList<QUrl> links;
    for (QTextBlock block = document->begin(); block.isValid() && links.size() < most; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd() && links.size() < most; ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (!href.isEmpty())
                links << QUrl(href);
        }
    }
    return links;
}

// Lets the pane's job come in; a job that is never done is a slow input.
void settle(DocumentView &view)
{
    const QDeadlineTimer deadline(10000);
    while (view.state() == DocumentView::State::Loading && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void use(DocumentView &view)
{
    QWidget *viewport = view.viewport();
    for (int y = 5; y < viewport->height(); y += 60) {
        QHelpEvent hover(QEvent::ToolTip, QPoint(40, y), viewport->mapToGlobal(QPoint(40, y)));
        QCoreApplication::sendEvent(viewport, &hover);
    }
    QToolTip::hideText();
    QWheelEvent zoom(QPointF(40, 40), viewport->mapToGlobal(QPointF(40, 40)), {}, {0, 120}, Qt::NoButton,
                     Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &zoom);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.selectAll();
    view.copy();
    viewport->grab();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzapp::application();
    static const QString paper = fuzzapp::scratchPath(QStringLiteral("00Vardo.tx"));
    fuzzapp::write(paper, data, size);

    // The same bytes as the front of a longer file, split anywhere.
    htmldecode::decode(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)), true);

    DocumentView view;
    view.resize(625, 353);
    questiondocument::showIn(&view, {paper});
    settle(view);
    use(view);
    for (const QUrl &link : firstLinks(view.document(), 3)) {
        emit view.anchorClicked(link);
        settle(view);
        use(view);
    }
    // The pane's jobs were given up with it; each stops at its next stage.
    DocumentJob::settle(-1);
    return 0;
}
