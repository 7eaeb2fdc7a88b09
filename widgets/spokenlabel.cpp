#include "widgets/spokenlabel.h"

#include "widgets/screenaccessible.h"

#include <QHash>
#include <QLabel>

#include <utility>

namespace {

const char silentProperty[] = "spokenElsewhere";

// The words each labelled caption is heard as, by label.
QHash<const QLabel *, spoken::Words> &wordsOf()
{
    static QHash<const QLabel *, spoken::Words> words;
    return words;
}

class SpokenLabel : public ScreenAccessible
{
public:
    explicit SpokenLabel(QLabel *label) : ScreenAccessible(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return spoken::nameOf(static_cast<const QLabel *>(widget()));
        return ScreenAccessible::text(t);
    }
};

// No name and not showing: a reader reviewing the window skips it.
class SilentLabel : public ScreenAccessible
{
public:
    explicit SilentLabel(QLabel *label) : ScreenAccessible(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text) const override { return QString(); }

    QAccessible::State state() const override
    {
        QAccessible::State s = ScreenAccessible::state();
        s.invisible = true;
        return s;
    }
};

QAccessibleInterface *spokenLabelFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label && wordsOf().contains(label))
        return new SpokenLabel(label);
    if (label && label->property(silentProperty).toBool())
        return new SilentLabel(label);
    return nullptr;
}

} // namespace

namespace spoken {

void installAccessibility()
{
    QAccessible::installFactory(spokenLabelFactory);
}

void setPattern(QLabel *label, const QString &pattern, const QString &description)
{
    setWords(
        label, [pattern](const QString &caption) { return pattern.arg(caption); }, description);
}

void setWords(QLabel *label, Words words, const QString &description)
{
    if (!wordsOf().contains(label))
        QObject::connect(label, &QObject::destroyed, [label] { wordsOf().remove(label); });
    wordsOf().insert(label, std::move(words));
    label->setAccessibleDescription(description);
}

void silence(QLabel *label)
{
    label->setProperty(silentProperty, true);
}

QString nameOf(const QLabel *label)
{
    const QString caption = label->text();
    const auto words = wordsOf().constFind(label);
    if (caption.isEmpty() || words == wordsOf().constEnd())
        return caption;
    return (*words)(caption);
}

} // namespace spoken
