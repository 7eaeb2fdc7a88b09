#include "widgets/screenaccessible.h"

#include "widgets/screenpixels.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>

QRect ScreenAccessible::rect() const
{
    return screenpixels::toScreen(QAccessibleWidget::rect(), widget());
}

QAccessibleInterface *ScreenAccessible::childAt(int x, int y) const
{
    for (int i = childCount() - 1; i >= 0; --i) {
        QAccessibleInterface *child = this->child(i);
        if (child && child->isValid() && !child->state().invisible && child->rect().contains(x, y))
            return child;
    }
    return nullptr;
}

namespace {

// "&Open" is heard as "Open", "&&" as "&".
QString withoutMnemonic(const QString &text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

class ButtonAccessible : public ScreenAccessible
{
public:
    explicit ButtonAccessible(QAbstractButton *button) : ScreenAccessible(button)
    {
        addControllingSignal(button->isCheckable() ? QStringLiteral("toggled(bool)") : QStringLiteral("clicked()"));
    }

    QAccessible::Role role() const override
    {
        if (!button()->isCheckable())
            return QAccessible::Button;
        return button()->autoExclusive() ? QAccessible::RadioButton : QAccessible::CheckBox;
    }

    QString text(QAccessible::Text t) const override
    {
        QString text;
        if (t == QAccessible::Name)
            text =
                widget()->accessibleName().isEmpty() ? withoutMnemonic(button()->text()) : widget()->accessibleName();
        return text.isEmpty() ? ScreenAccessible::text(t) : text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = ScreenAccessible::state();
        s.checkable = button()->isCheckable();
        s.checked = button()->isChecked();
        auto *box = qobject_cast<QCheckBox *>(button());
        s.checkStateMixed = box && box->checkState() == Qt::PartiallyChecked;
        s.pressed = button()->isDown();
        auto *push = qobject_cast<QPushButton *>(button());
        s.defaultButton = push && push->isDefault();
        return s;
    }

    // A check box is where it takes a click: its box and its caption.
    QRect rect() const override
    {
        auto *box = qobject_cast<QCheckBox *>(button());
        if (!box || !box->isVisible())
            return ScreenAccessible::rect();
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        option.icon = box->icon();
        option.iconSize = box->iconSize();
        option.state |= box->isChecked() ? QStyle::State_On : QStyle::State_Off;
        const QRect click = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
        return screenpixels::toScreen(click.translated(box->mapToGlobal(QPoint(0, 0))), box);
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << (button()->isCheckable() ? toggleAction() : pressAction());
        return names + ScreenAccessible::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (!widget()->isEnabled())
            return;
        if (name == pressAction())
            button()->animateClick();
        else if (name == toggleAction())
            button()->toggle();
        else
            ScreenAccessible::doAction(name);
    }

    QStringList keyBindingsForAction(const QString &name) const override
    {
        if (name == pressAction())
            return {button()->shortcut().toString()};
        return {};
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

class LabelAccessible : public ScreenAccessible, public QAccessibleImageInterface
{
public:
    explicit LabelAccessible(QLabel *label) : ScreenAccessible(label, QAccessible::StaticText) {}

    QAccessible::Role role() const override
    {
        return label()->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
    }

    QString text(QAccessible::Text t) const override
    {
        QString text;
        if (t == QAccessible::Name)
            text = widget()->accessibleName().isEmpty() ? shownText() : widget()->accessibleName();
        return text.isEmpty() ? ScreenAccessible::text(t) : text;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ImageInterface)
            return static_cast<QAccessibleImageInterface *>(this);
        return ScreenAccessible::interface_cast(type);
    }

    QString imageDescription() const override { return widget()->toolTip(); }
    QSize imageSize() const override { return label()->pixmap().size(); }
    QPoint imagePosition() const override { return label()->pixmap().isNull() ? QPoint() : rect().topLeft(); }

private:
    QLabel *label() const { return static_cast<QLabel *>(widget()); }

    QString shownText() const
    {
        QString text = label()->text();
        if (label()->textFormat() == Qt::RichText
            || (label()->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument document;
            document.setHtml(text);
            text = document.toPlainText();
        }
        return label()->buddy() ? withoutMnemonic(text) : text;
    }
};

// Asked with each class name from the object's own up: the buttons and
// labels at once (the program's own readings of some labels come first),
// a main window as one, and at QWidget whatever no one else took.
QAccessibleInterface *screenFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *button = qobject_cast<QPushButton *>(widget))
        return new ButtonAccessible(button);
    if (auto *box = qobject_cast<QCheckBox *>(widget))
        return new ButtonAccessible(box);
    if (auto *label = qobject_cast<QLabel *>(widget))
        return new LabelAccessible(label);
    if (className == QLatin1String("QMainWindow"))
        return new ScreenAccessible(widget, QAccessible::Window);
    if (className == QLatin1String("QWidget"))
        return new ScreenAccessible(widget);
    return nullptr;
}

} // namespace

void installScreenAccessibility()
{
    QAccessible::installFactory(screenFactory);
}
