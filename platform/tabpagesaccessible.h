#pragma once

// Lets screen readers hear a TabPages container as a page tab list named by
// the caption of its current page; see platform::install().
void installTabPagesAccessibility();
