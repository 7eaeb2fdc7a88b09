#pragma once

// Lets screen readers ask FigureLabels for their words (idempotent).
namespace figureaccessible {

void install();

} // namespace figureaccessible
