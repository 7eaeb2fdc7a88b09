#include "widgets/designfont.h"

#include <QStringList>

namespace designfont {

void registerSubstitutes()
{
    QFont::insertSubstitutions(gothic,
                               QStringList() << QStringLiteral("IPAGothic") << QStringLiteral("Noto Sans Mono CJK JP"));
    QFont::insertSubstitutions(proportionalGothic,
                               QStringList() << QStringLiteral("IPAPGothic") << QStringLiteral("Noto Sans CJK JP"));
}

QFont make(const QString &family, qreal pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    if (family == gothic)
        font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace designfont
