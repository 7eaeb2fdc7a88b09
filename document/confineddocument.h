#pragma once

#include <QTextDocument>
#include <QUrl>
#include <QVariant>

#include <functional>

// A document that asks `resources` for everything it loads (pictures, style
// sheets), on whatever thread it lives, and never reads a name as a file of
// its own accord. `resources` runs on the document's thread.
class ConfinedDocument : public QTextDocument
{
    Q_OBJECT

public:
    using Resources = std::function<QVariant(int type, const QUrl &name)>;

    explicit ConfinedDocument(Resources resources, QObject *parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    Resources m_resources;
};
