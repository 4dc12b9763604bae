#include "system/native.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tess {

bool run_by_wine() { return false; }

NativeDllStatus prefer_native_dll(const QString &, const QString &) { return NativeDllStatus::Absent; }

void platform::release_free_memory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void platform::use_freetype_text() {}

}  // namespace tess
