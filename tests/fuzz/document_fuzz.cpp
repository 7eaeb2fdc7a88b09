// The question document's way into the pane: the bytes become 00Vardo.tx,
// which the loader finds and the pane decodes, checks and lays out; then the
// first links in it are followed as clicks would follow them.

#include "exam/questiondocument.h"
#include "document/documentjob.h"
#include "document/documentview.h"
#include "markup/htmldecode.h"
#include "fuzzapp.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

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
    view.document()->documentLayout()->documentSize();
    for (const QUrl &link : firstLinks(view.document(), 3)) {
        emit view.anchorClicked(link);
        view.document()->documentLayout()->documentSize();
    }
    // The pane's jobs were given up with it; their threads end at the next
    // piece of layout, and a document whose one piece outlasts this is a
    // slow input.
    DocumentJob::settle(DocumentView::deadlineMs);
    return 0;
}
