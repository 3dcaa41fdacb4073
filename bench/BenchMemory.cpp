#include "bench/BenchMemory.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace kestrix::bench {

void startCold()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void keepFreedMemory()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

} // namespace kestrix::bench
