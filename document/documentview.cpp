#include "document/documentview.h"

#include "document/caretbrowsing.h"
#include "document/documentjob.h"
#include "files/regularfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

// Pictures past this many pixels are not decoded: a few bytes of header can
// ask for gigabytes.
constexpr qint64 maxPicturePixels = 4096 * 4096;

QImage picture(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > maxPicturePixels)
        return QImage();
    return reader.read();
}

// Shown for a picture that may not, or cannot, be shown: a small grey box.
QImage placeholder()
{
    static const QImage image = [] {
        QImage box(16, 16, QImage::Format_ARGB32_Premultiplied);
        box.fill(QColor(0xe0, 0xe0, 0xe0));
        QPainter painter(&box);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(0, 0, 15, 15);
        return box;
    }();
    return image;
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString refusedPage(const QString &path, const QString &reason)
{
    return QStringLiteral("<p>次の文書は表示できません（%1）。</p><p>%2</p>")
        .arg(escaped(reason), escaped(QDir::toNativeSeparators(path)));
}

QString tooComplexReason()
{
    return QStringLiteral("複雑すぎて %1 秒以内に表示できません").arg(DocumentView::deadlineMs / 1000);
}

QString loadingPage(const QString &path)
{
    return QStringLiteral("<p>文書を読み込んでいます…</p><p>%1</p>")
        .arg(escaped(QDir::toNativeSeparators(path)));
}

// Pages a link may open in the pane; a link to a picture or anything else
// does nothing.
bool isPage(const QString &path)
{
    static const QStringList suffixes = {QStringLiteral("htm"), QStringLiteral("html"),
                                         QStringLiteral("tx"), QStringLiteral("txt")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

bool isSamePageAnchor(const QUrl &url)
{
    return url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment();
}

// A local file inside `folder` that `url`, resolved against `base`, names;
// or empty.
QString fileInside(const QString &folder, const QUrl &base, const QUrl &url)
{
    if (folder.isEmpty())
        return QString();
    const QUrl resolved = base.resolved(url);
    if (!resolved.isLocalFile())
        return QString();
    // Canonical paths see through "..", symbolic links and doubled slashes.
    const QString path = QFileInfo(resolved.toLocalFile()).canonicalFilePath();
    const QString root = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(root) && QFileInfo(path).isFile() ? path : QString();
}

// Answers every request, and with a value Qt takes as final: given nothing,
// the document reads the name as a file itself (against the working folder,
// FIFOs included), and given no decodable picture, the picture handler does.
// So pictures are decoded here and a refused one becomes the placeholder.
// Touches nothing but its arguments, so that a document job may call it.
QVariant resourceInside(const QString &folder, const QUrl &base, int type, const QUrl &name)
{
    const QString path = fileInside(folder, base, name);
    if (type == QTextDocument::HtmlResource) {
        const auto file = DocumentJob::readText(path, DocumentView::maxBytes);
        return file ? file->text : QString();
    }
    const auto front = regularfile::read(path, DocumentView::maxBytes);
    if (type == QTextDocument::ImageResource) {
        const QImage image = front ? picture(front->bytes) : QImage();
        return image.isNull() ? placeholder() : image;
    }
    return front ? front->bytes : QByteArray();
}

} // namespace

DocumentView::DocumentView(QWidget *parent) : QTextBrowser(parent)
{
    // Left on, the browser would try to load unknown schemes as documents.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &DocumentView::onAnchorClicked);
    // A text to move through by keys and to hear, not a picture of one.
    caretbrowsing::enable(this);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &DocumentView::onDeadline);
}

DocumentView::~DocumentView() = default;

bool DocumentView::openFile(const QString &path, Wait wait)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return false;
    m_folder = info.canonicalPath();
    startJob(info.canonicalFilePath());
    if (wait == Wait::BeforeFirstShow && !isVisible())
        m_holdUntilShown = true;
    else
        waitForJob(deadlineMs);
    return true;
}

void DocumentView::showPage(const QString &html)
{
    prefetched().reset();
    m_job.reset();
    m_deadline.stop();
    m_holdUntilShown = false;
    m_folder.clear();
    m_base.clear();
    showHtml(html);
}

void DocumentView::prefetch(const QString &path, const QFont &font)
{
    const QFileInfo info(path);
    prefetched() = info.isFile() && info.isReadable()
                       ? std::make_unique<DocumentJob>(
                             request(info.canonicalFilePath(), info.canonicalPath(), font))
                       : nullptr;
}

std::unique_ptr<DocumentJob> &DocumentView::prefetched()
{
    static std::unique_ptr<DocumentJob> job;
    return job;
}

// The job for `path`, canonical, which reads resources from `folder` alone.
DocumentJob::Request DocumentView::request(const QString &path, const QString &folder,
                                           const QFont &font)
{
    const QUrl base = QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/'));
    return {path, base, font, maxBytes, [folder, base](int type, const QUrl &name) {
                return resourceInside(folder, base, type, name);
            }};
}

void DocumentView::startJob(const QString &path)
{
    m_job.reset();
    std::unique_ptr<DocumentJob> early = std::move(prefetched());
    DocumentJob::Request wanted = request(path, m_folder, font());
    m_base = wanted.base;
    m_jobPath = path;
    m_jobAnchor.clear();
    const bool same = early && early->request().path == path && early->request().font == wanted.font;
    m_job = same ? std::move(early) : std::make_unique<DocumentJob>(std::move(wanted));
    m_job->layOut({qreal(textWidthToExpect()), QDeadlineTimer(layoutBudgetMs)});
    m_job->whenDone(this, [this] {
        if (!m_holdUntilShown)
            finishJob();
    });
    m_jobClock.start();
    m_deadline.start(deadlineMs);
}

// Holds up the thread at most `ms`, and never past the deadline; shows the
// document when it is ready by then, and otherwise a page saying it is on
// its way, or that it is too complex once the deadline has passed.
void DocumentView::waitForJob(int ms)
{
    if (!m_job)
        return;
    const int left = m_deadline.remainingTime();
    if (m_job->wait(std::clamp(std::min(ms, left), 0, deadlineMs)))
        finishJob();
    else if (left <= ms)
        onDeadline();
    else
        showHtml(loadingPage(m_jobPath));
}

void DocumentView::finishJob()
{
    if (!m_job)
        return;
    DocumentJob::Result result = m_job->take();
    m_job.reset();
    m_deadline.stop();
    switch (result.kind) {
    case DocumentJob::Result::Kind::Document:
        result.document->setParent(this);
        replaceDocument(result.document.release());
        if (!m_jobAnchor.isEmpty())
            scrollToAnchor(m_jobAnchor);
        break;
    case DocumentJob::Result::Kind::Refused:
        showHtml(refusedPage(m_jobPath, result.reason));
        break;
    case DocumentJob::Result::Kind::Unreadable:
        showHtml(refusedPage(m_jobPath, QStringLiteral("読み込めません")));
        break;
    case DocumentJob::Result::Kind::TooComplex:
        showHtml(refusedPage(m_jobPath, tooComplexReason()));
        break;
    }
}

// The deadline passed: a job still reading a large file gets another
// period, within readingMs; any other is left to end by itself, or never.
void DocumentView::onDeadline()
{
    if (!m_job)
        return;
    if (m_job->wait(0)) { // ready, and held for a pane not shown yet
        if (!m_holdUntilShown)
            finishJob();
        return;
    }
    if (m_job->isReading() && m_jobClock.elapsed() < readingMs) {
        m_deadline.start(deadlineMs);
        showHtml(loadingPage(m_jobPath));
        return;
    }
    m_job.reset();
    m_holdUntilShown = false;
    showHtml(refusedPage(m_jobPath, tooComplexReason()));
}

void DocumentView::showEvent(QShowEvent *event)
{
    QTextBrowser::showEvent(event);
    if (!m_holdUntilShown)
        return;
    m_holdUntilShown = false;
    waitForJob(firstScreenMs - int(m_jobClock.elapsed()));
}

void DocumentView::showHtml(const QString &html)
{
    auto *page = new QTextDocument(this);
    page->setDefaultFont(font());
    page->setHtml(html);
    replaceDocument(page);
}

void DocumentView::replaceDocument(QTextDocument *document)
{
    // The pane's first document belongs to Qt, which deletes it itself.
    QTextDocument *previous = QTextBrowser::document();
    const bool ours = previous->parent() == this;
    // Laid out at once at the width it is shown in, with room for the scroll
    // bar, rather than at its own width, then the pane's, then without the bar.
    const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
    if (policy == Qt::ScrollBarAsNeeded)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    document->setPageSize(QSizeF(viewport()->width(), -1));
    setDocument(document);
    setVerticalScrollBarPolicy(policy);
    if (ours)
        delete previous;
}

// The width the pane will lay text out in, with room for a scroll bar.
int DocumentView::textWidthToExpect() const
{
    return contentsRect().width() - verticalScrollBar()->sizeHint().width();
}

QString DocumentView::fileInside(const QUrl &url) const
{
    return ::fileInside(m_folder, m_base, url);
}

QVariant DocumentView::loadResource(int type, const QUrl &name)
{
    return resourceInside(m_folder, m_base, type, name);
}

void DocumentView::onAnchorClicked(const QUrl &url)
{
    if (url.scheme() == QLatin1String("event")) {
        const QVariant data = url.hasQuery() ? QVariant(url.query(QUrl::FullyDecoded)) : QVariant();
        emit eventRaised(url.path(QUrl::FullyDecoded), data);
        return;
    }
    if (isSamePageAnchor(url)) {
        scrollToAnchor(url.fragment(QUrl::FullyDecoded));
        return;
    }
    // Another document beside this one opens in its place.
    const QString path = fileInside(url);
    if (!isPage(path))
        return;
    startJob(path);
    if (url.hasFragment())
        m_jobAnchor = url.fragment(QUrl::FullyDecoded);
    waitForJob(deadlineMs);
}
