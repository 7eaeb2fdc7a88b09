#pragma once

namespace largeblocks {

// Has the C library give every large block (a window's backing store, a
// decoded picture) a mapping of its own, handed back to the system when it
// is freed. Left to itself, glibc raises that bar to the size of the first
// such block freed, and later window-sized blocks go into the heap, where
// small allocations made while they live keep the heap from shrinking: a
// session that opens and closes windows for hours sees it creep up in
// window-sized steps.
void returnToTheSystemWhenFreed();

} // namespace largeblocks
