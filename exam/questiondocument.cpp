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

QString notFoundPage(const QStringList &candidates)
{
    QString places;
    for (const QString &candidate : candidates)
        places += QStringLiteral("<li>%1</li>").arg(candidate.toHtmlEscaped());
    return QStringLiteral("<p>問題文 %1 が見つかりません。次の場所を探しました。</p><ul>%2</ul>")
        .arg(QString::fromLatin1(fileName), places);
}

} // namespace

QStringList candidates()
{
    return {QString::fromUtf8(storedLocation), AppFolderPath() + QString::fromLatin1(fileName)};
}

QString showIn(DocumentView *view, const QStringList &candidates, DocumentView::Wait wait)
{
    for (const QString &candidate : candidates) {
        if (isUsable(candidate) && view->openFile(candidate, wait))
            return candidate;
    }
    view->showPage(notFoundPage(candidates));
    return QString();
}

} // namespace questiondocument
