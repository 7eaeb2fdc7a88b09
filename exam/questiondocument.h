#pragma once

#include "document/documentview.h"

#include <QStringList>

// Where the question paper 00Vardo.tx is looked for, and how the pane
// shows it.
namespace questiondocument {

// The location stored with the window, then the copy beside the program.
QStringList candidates();

// Shows the first candidate `view` can open, or a short page naming every
// place looked in and saying, of each, whether nothing was there or what was
// there could not be read. Returns the path shown, empty when none was. A path that
// is not absolute on this system (a drive-letter path off Windows) names no
// file here and is passed over, never read relative to the working folder.
// `wait` says whether to wait for the document here or before the pane is
// first shown. `started`, from prefetch(), is handed to the pane, which
// takes it over when it is for the candidate shown.
QString showIn(DocumentView *view, const QStringList &candidates,
               DocumentView::Wait wait = DocumentView::Wait::ForDocument,
               std::unique_ptr<DocumentJob> started = nullptr);

// Starts reading the candidate showIn() would show, for a pane in `font`,
// before the pane is built; the caller holds the job until it hands it to
// showIn(). None when no candidate is usable.
std::unique_ptr<DocumentJob> prefetch(const QStringList &candidates, const QFont &font);

} // namespace questiondocument
