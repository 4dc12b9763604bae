#include "system/native.h"

namespace tess {

const bool runs_windows_programs = true;

// Wine's ntdll alone exports its version; Windows' does not.
bool run_by_wine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool prefer_native_dll(const QString &programName, const QString &dll)
{
    const std::wstring key = L"Software\\Wine\\AppDefaults\\" + programName.toStdWString() + L"\\DllOverrides";
    HKEY overrides = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &overrides, nullptr)
        != ERROR_SUCCESS)
        return false;
    // Wine reads the name with a leading '*' as well (and prefers it).
    const std::wstring name = dll.toStdWString();
    for (const std::wstring &given : {L"*" + name, name}) {
        if (RegQueryValueExW(overrides, given.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            RegCloseKey(overrides);
            return true;
        }
    }
    static const wchar_t order[] = L"native,builtin";
    const LSTATUS set =
        RegSetValueExW(overrides, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(order), sizeof order);
    RegCloseKey(overrides);
    return set == ERROR_SUCCESS;
}

const char platform::lineEnd[] = "\r\n";

// The system's heap gives freed pages back by itself.
void platform::release_free_memory() {}

void platform::use_freetype_text()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
}

}  // namespace tess
