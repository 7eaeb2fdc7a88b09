#include "platform/documentview.h"

#include "platform/htmldecode.h"
#include "platform/htmlguard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

struct FileText
{
    QString text;
    bool cut = false;
};

std::optional<FileText> readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(DocumentView::maxBytes);
    const bool cut = !file.atEnd();
    return FileText{htmldecode::decode(bytes, cut), cut};
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString cutNotice()
{
    return QStringLiteral("<p style=\"background-color:#ffffc0\">この文書は大きすぎるため、"
                          "先頭の %1 MiB だけを表示しています。</p>")
        .arg(DocumentView::maxBytes / (1024 * 1024));
}

QString refusedPage(const QString &path, const QString &reason)
{
    return QStringLiteral("<p>次の文書は表示できません（%1）。</p><p>%2</p>")
        .arg(escaped(reason), escaped(QDir::toNativeSeparators(path)));
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

} // namespace

DocumentView::DocumentView(QWidget *parent) : QTextBrowser(parent)
{
    // Left on, the browser would try to load unknown schemes as documents.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &DocumentView::onAnchorClicked);
}

bool DocumentView::openFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return false;
    const QString previous = m_folder;
    m_folder = info.canonicalPath();
    if (showFile(info.canonicalFilePath()))
        return true;
    m_folder = previous;
    return false;
}

void DocumentView::showPage(const QString &html)
{
    m_folder.clear();
    m_base.clear();
    document()->setBaseUrl(QUrl());
    setHtml(html);
}

bool DocumentView::showFile(const QString &path)
{
    const std::optional<FileText> file = readText(path);
    if (!file)
        return false;
    const QString problem = htmlguard::problem(file->text);
    m_base = QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/'));
    document()->setBaseUrl(m_base);
    if (!problem.isEmpty())
        setHtml(refusedPage(path, problem));
    else
        setHtml(file->cut ? cutNotice() + file->text : file->text);
    return true;
}

// A local file inside the document's folder that `url` names, or empty.
QString DocumentView::fileInside(const QUrl &url) const
{
    if (m_folder.isEmpty())
        return QString();
    const QUrl resolved = m_base.resolved(url);
    if (!resolved.isLocalFile())
        return QString();
    // Canonical paths see through "..", symbolic links and doubled slashes.
    const QString path = QFileInfo(resolved.toLocalFile()).canonicalFilePath();
    const QString root = m_folder.endsWith(QLatin1Char('/')) ? m_folder : m_folder + QLatin1Char('/');
    return path.startsWith(root) && QFileInfo(path).isFile() ? path : QString();
}

// Always answers with a value, even an empty one: an empty answer would let
// the document fall back to reading the name as a file on its own.
QVariant DocumentView::loadResource(int type, const QUrl &name)
{
    const QString path = fileInside(name);
    if (path.isEmpty())
        return QByteArray();
    if (type == QTextDocument::HtmlResource) {
        const std::optional<FileText> file = readText(path);
        return file ? file->text : QString();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(maxBytes);
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
    if (isPage(path) && showFile(path) && url.hasFragment())
        scrollToAnchor(url.fragment(QUrl::FullyDecoded));
}
