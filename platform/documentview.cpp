#include "platform/documentview.h"

#include "platform/htmldecode.h"
#include "platform/htmlguard.h"
#include "platform/regularfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <optional>

namespace {

struct FileText
{
    QString text;
    bool cut = false;
};

std::optional<FileText> readText(const QString &path)
{
    QFile file;
    if (!regularfile::open(file, path))
        return std::nullopt;
    const QByteArray bytes = file.read(DocumentView::maxBytes);
    const bool cut = !file.atEnd();
    return FileText{htmldecode::decode(bytes, cut), cut};
}

std::optional<QByteArray> readBytes(const QString &path)
{
    QFile file;
    if (!regularfile::open(file, path))
        return std::nullopt;
    return file.read(DocumentView::maxBytes);
}

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

// Answers every request, and with a value Qt takes as final: given nothing,
// the document reads the name as a file itself (against the working folder,
// FIFOs included), and given no decodable picture, the picture handler does.
// So pictures are decoded here and a refused one becomes the placeholder.
QVariant DocumentView::loadResource(int type, const QUrl &name)
{
    const QString path = fileInside(name);
    if (type == QTextDocument::HtmlResource) {
        const std::optional<FileText> file = readText(path);
        return file ? file->text : QString();
    }
    const std::optional<QByteArray> bytes = readBytes(path);
    if (type == QTextDocument::ImageResource) {
        const QImage image = bytes ? picture(*bytes) : QImage();
        return image.isNull() ? placeholder() : image;
    }
    return bytes.value_or(QByteArray());
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
