#include "system/native.h"

namespace tess {

// Wine's ntdll alone exports its version; Windows' does not.
bool run_by_wine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The system's heap gives freed pages back by itself.
void platform::release_free_memory() {}

void platform::use_freetype_text()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
}

}  // namespace tess
