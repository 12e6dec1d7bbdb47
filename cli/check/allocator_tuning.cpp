#include "cli/check/allocator_tuning.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace casl::check {

void keepFreedMemoryForReuse() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

} // namespace casl::check
