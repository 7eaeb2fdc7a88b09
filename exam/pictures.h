#pragma once

#include <QImage>
#include <QPixmap>

#include <future>

// The pictures built into the program (Qt resources under :/pictures).
namespace pictures {

QString backgroundPath();
QString figurePath(int figure); // 1..11
QString markPath();

// Starts decoding the background on a worker thread (a QImage, unlike a
// QPixmap, may be made off the GUI thread), so that start-up can build the
// window meanwhile. Indexed, with its colours as the file has them.
std::future<QImage> decodeBackground();
// A 32-bit picture at one byte a pixel with its colours exactly, when it has
// at most the ground's 256 of them, as a GIF always has; otherwise as it is.
QImage indexed(const QImage &picture);
QPixmap figure(int figure);
// What figure 1..11 shows, in words, for a screen reader; written with the
// drawing (tools/pictures/figures.py) and read through the document pane's
// table of signs and units. Empty for a figure without one.
QString figureDescription(int figure);
// The correct-answer mark at 32 x 32, the icon image the platform picks.
QPixmap mark();

} // namespace pictures
