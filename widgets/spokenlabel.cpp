#include "widgets/spokenlabel.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

const char patternProperty[] = "spokenPattern";
const char silentProperty[] = "spokenElsewhere";

class SpokenLabel : public QAccessibleWidget
{
public:
    explicit SpokenLabel(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return spoken::nameOf(static_cast<const QLabel *>(widget()));
        return QAccessibleWidget::text(t);
    }
};

// No name and not showing: a reader reviewing the window skips it.
class SilentLabel : public QAccessibleWidget
{
public:
    explicit SilentLabel(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text) const override { return QString(); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        return s;
    }
};

QAccessibleInterface *spokenLabelFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label && label->property(patternProperty).isValid())
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
    label->setProperty(patternProperty, pattern);
    label->setAccessibleDescription(description);
}

void silence(QLabel *label)
{
    label->setProperty(silentProperty, true);
}

QString nameOf(const QLabel *label)
{
    const QString caption = label->text();
    const QVariant pattern = label->property(patternProperty);
    if (caption.isEmpty() || !pattern.isValid())
        return caption;
    return pattern.toString().arg(caption);
}

} // namespace spoken
