#include "app/largeblocks.h"

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace largeblocks {

void returnToTheSystemWhenFreed()
{
#if defined(__GLIBC__)
    // glibc's own starting bar; setting it holds it there.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

} // namespace largeblocks
