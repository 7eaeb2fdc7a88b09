#pragma once

#include <QFont>
#include <QString>

// The windows ask for fonts by the family names they were designed with.
// Those families rarely exist off their home system, so they are mapped
// once to installed Japanese Gothic faces with the same cell widths.
namespace designfont {

inline const QString gothic = QStringLiteral("ＭＳ ゴシック");
inline const QString proportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");

void registerSubstitutes();
QFont make(const QString &family, qreal pointSize, bool bold = false);

} // namespace designfont
