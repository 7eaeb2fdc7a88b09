#pragma once

#include <QPixmap>

// The pictures built into the program (Qt resources under :/pictures).
namespace pictures {

QString backgroundPath();
QString figurePath(int figure); // 1..11
QString markPath();

QPixmap background();
QPixmap figure(int figure);
// The correct-answer mark at 32 x 32, the icon image the platform picks.
QPixmap mark();

} // namespace pictures
