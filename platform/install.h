#pragma once

// Process-wide set-up of the platform layer, called once from main() (and
// from the test mains) after the application object exists: large blocks
// given back to the system when freed, the design font names' substitutes,
// and what screen readers hear for tab pages and spoken labels.
namespace platform {

void install();

} // namespace platform
