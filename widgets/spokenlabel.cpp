#include "widgets/spokenlabel.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

const char patternProperty[] = "spokenPattern";

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

QAccessibleInterface *spokenLabelFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label && label->property(patternProperty).isValid())
        return new SpokenLabel(label);
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

QString nameOf(const QLabel *label)
{
    const QString caption = label->text();
    const QVariant pattern = label->property(patternProperty);
    if (caption.isEmpty() || !pattern.isValid())
        return caption;
    return pattern.toString().arg(caption);
}

} // namespace spoken
