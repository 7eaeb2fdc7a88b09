#pragma once

// Qt exposes a window made from a plain QWidget as a client area, which
// AT-SPI calls a filler: screen readers look for a frame to name the window
// they enter. Windows made from QMainWindow or QDialog have their own roles.
void installWindowAccessibility();
