#include "system/native.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tess {

namespace {

// Blocks at least this large are mapped on their own once the start is over.
constexpr int kReturnedBlockBytes = 256 * 1024;

}  // namespace

const bool runs_windows_programs = false;

bool run_by_wine() { return false; }

bool prefer_native_dll(const QString &, const QString &) { return false; }

const char platform::lineEnd[] = "\n";

void platform::release_free_memory()
{
#ifdef __GLIBC__
    malloc_trim(0);
    // From now on a large block goes back to the system when freed. glibc
    // raises its threshold for mapping a block of its own after each such
    // block is freed, so the window's every repaint, which draws its drop
    // shadow through two 2 MB pictures, would leave them in the heap.
    mallopt(M_MMAP_THRESHOLD, kReturnedBlockBytes);
#endif
}

void platform::use_freetype_text() {}

}  // namespace tess
