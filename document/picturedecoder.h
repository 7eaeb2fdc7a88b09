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
    qint64 fileBytes = 8 * 1024 * 1024;
    // Pixels of one file, as its header gives them: a few bytes of header
    // can ask for gigabytes.
    qint64 filePixels = 4096 * 4096;
    // Pixels decoded from files, and pixels kept to be shown, for the whole
    // document.
    qint64 readPixels = 4 * 4096 * 4096;
    qint64 shownPixels = 8 * 1000 * 1000;
    // A picture's shown side, in pixels, at most.
    int side = 2000;
};

// Resolves every picture's name through `gate`, gives its format the size it
// is shown at and, as its name, the key of its picture in the result (empty
// for the placeholder), and decodes each file once at `scale` times the
// largest size it is shown at. Stops between files once `cancelled` is set.
QHash<QString, QImage> decode(const ResourceGate &gate, QList<documentclean::Picture> &pictures,
                              qreal scale, const std::atomic_bool &cancelled,
                              const Budget &budget = {});

} // namespace picturedecoder
