#pragma once

// Lets screen readers hear a TabPages container as a page tab list named by
// the caption of its current page, with one page tab per caption, followed by
// the pages; see widgets::install().
void installTabPagesAccessibility();
