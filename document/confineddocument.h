#pragma once

#include <QHash>
#include <QImage>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

#include <functional>

// A document that loads nothing it was not granted, whatever its parent:
// every request for a resource goes to the grant it holds (none once it has
// been parsed), and a request it does not grant is answered with nothing Qt
// could take as a reason to read the name itself. Its pictures are the ones
// decoded for it beforehand, drawn by a handler of its own (attachPictures()),
// so that painting never decodes, and never looks a name up as a file.
class ConfinedDocument : public QTextDocument
{
    Q_OBJECT

public:
    // Answers a request for a resource, or returns an invalid QVariant to
    // refuse it. Runs on the document's thread.
    using Grant = std::function<QVariant(int type, const QUrl &name)>;

    explicit ConfinedDocument(QObject *parent = nullptr);

    // What the document may load from now on; nothing when `grant` is empty.
    void setGrant(Grant grant);

    // The pictures the document shows, by the names its image formats hold.
    void setDecodedPictures(QHash<QString, QImage> pictures);
    // The picture named `name`, or the placeholder.
    QImage picture(const QString &name) const;
    static QImage placeholder();

    // Makes the document's layout draw its pictures from setDecodedPictures() alone.
    // Called on the thread that shows the document, once it lives there.
    void attachPictures();

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    Grant m_grant;
    QHash<QString, QImage> m_pictures;
};
