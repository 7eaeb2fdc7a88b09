#pragma once

#include "document/confineddocument.h"
#include "document/documentclean.h"
#include "document/resourcegate.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

#include <atomic>

// The one place a document's pictures are decoded: off the thread that shows
// them, once per file, at the size they are shown, within a budget for the
// whole document. A picture past the budget, too large, undecodable or
// refused by the gate is shown as the placeholder.
namespace picturedecoder {

struct Budget
{
    qint64 fileBytes = DocumentLimits::pictureBytes;
    // Pixels of one file, as its header gives them: a few bytes of header
    // can ask for gigabytes.
    qint64 filePixels = DocumentLimits::picturePixels;
    // Pixels decoded from files, and pixels kept to be shown, for the whole
    // document, both spent in document order.
    qint64 readPixels = DocumentLimits::readPixels;
    qint64 shownPixels = DocumentLimits::shownPixels;
    // A picture's shown side, in pixels, at most.
    int side = DocumentLimits::pictureSide;
    // The shown height and area of all pictures, spent in document order.
    qint64 height = DocumentLimits::picturesHeight;
    qint64 area = DocumentLimits::picturesArea;
};

// Resolves every picture's name through `gate`, gives its format the size it
// is shown at and, as its name, the key of its picture in the result (empty
// for the placeholder), and decodes each file once at `scale` times the
// largest size it is shown at. Stops between files once `cancelled` is set.
QHash<QString, QImage> decode(const ResourceGate &gate, QList<documentclean::Picture> &pictures, qreal scale,
                              const std::atomic_bool &cancelled, const Budget &budget = {});

} // namespace picturedecoder
