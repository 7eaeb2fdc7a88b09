#include "exam/questiondocument.h"

#include "exam/appfolder.h"

#include <QDir>
#include <QFileInfo>

namespace questiondocument {

namespace {

const char storedLocation[] = "c:\\Program Files\\ミラト試験\\2000\\00Vardo.tx";
const char fileName[] = "00Vardo.tx";

bool isUsable(const QString &candidate)
{
    if (!QDir::isAbsolutePath(QDir::fromNativeSeparators(candidate)))
        return false;
    const QFileInfo info(candidate);
    return info.isFile() && info.isReadable();
}

// Something is there but could not be shown: no read rights, not a plain
// file, or unreadable on opening.
bool isPresent(const QString &candidate)
{
    return QDir::isAbsolutePath(QDir::fromNativeSeparators(candidate)) && QFileInfo::exists(candidate);
}

QString failurePage(const QStringList &candidates, const QStringList &unreadable)
{
    QString places;
    for (const QString &candidate : candidates) {
        const bool present = unreadable.contains(candidate);
        places += QStringLiteral("<li>%1（%2）</li>")
                      .arg(candidate.toHtmlEscaped(),
                           present ? QStringLiteral("読み込めません") : QStringLiteral("見つかりません"));
    }
    const QString what = unreadable.isEmpty() ? QStringLiteral("が見つかりません") : QStringLiteral("を読み込めません");
    return QStringLiteral("<p>問題文 %1 %2。次の場所を探しました。</p><ul>%3</ul>")
        .arg(QString::fromLatin1(fileName), what, places);
}

} // namespace

QStringList candidates()
{
    if (AppFolderPath().isEmpty())
        return {QString::fromUtf8(storedLocation)};
    return {QString::fromUtf8(storedLocation), AppFolderPath() + QString::fromLatin1(fileName)};
}

QString showIn(DocumentView *view, const QStringList &candidates, DocumentView::Wait wait,
               std::unique_ptr<DocumentJob> started)
{
    QStringList unreadable;
    for (const QString &candidate : candidates) {
        if (isUsable(candidate) && view->openFile(candidate, wait, std::move(started)))
            return candidate;
        if (isPresent(candidate))
            unreadable.append(candidate);
    }
    view->showPage(failurePage(candidates, unreadable));
    return QString();
}

std::unique_ptr<DocumentJob> prefetch(const QStringList &candidates, const QFont &font)
{
    for (const QString &candidate : candidates) {
        if (isUsable(candidate))
            return DocumentView::startJob(candidate, font);
    }
    return nullptr;
}

} // namespace questiondocument
