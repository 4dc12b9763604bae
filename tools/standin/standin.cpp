// A stand-in for the game client, built for Windows with MinGW-w64 and run
// natively or under Wine. It opens its archive as the game does (shared for
// reading and writing, not for deletion, so that a rename of the file fails
// while it runs), holds it, and writes what it saw to a marker file.
//
//   standin.exe [--hold SECONDS] [--marker PATH] [--archive PATH]
//
// Each option may also come from the environment, since the launcher starts
// the game without arguments: TESSARINE_STANDIN_HOLD, TESSARINE_STANDIN_MARKER,
// TESSARINE_STANDIN_ARCHIVE. Defaults: 20 seconds, "standin-marker.txt" and
// "Data\patch-2.mpq" beside the program (where the game keeps its archive,
// whatever the working directory).
//
// The marker holds one "key=value" line each, in UTF-8:
//   arguments=N, then argument1=... argumentN=... (the program name excluded)
//   directory=the working directory
//   WINEDLLOVERRIDES=its value (the line is missing when the variable is unset)
//   d3d9=beside when the d3d9.dll the system loads is the test one built from
//   d3d9.cpp, d3d9=system when it is another, d3d9=none when none loads
//   archive=held, or archive=error CODE (GetLastError) when the open failed
// It is complete once written (the archive is held from then on); after the
// hold a last line "released" is appended. Exit status 0, or 2 when the
// archive could not be opened.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::string utf8(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

// The variable's value into `value`; false, `value` untouched, when unset.
bool variable(const wchar_t *name, std::wstring &value)
{
    // The size asked for counts the closing NUL, so even an empty value gives 1.
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return false;
    value.assign(size, L'\0');
    const DWORD written = GetEnvironmentVariableW(name, &value[0], size);
    value.resize(written);
    return true;
}

std::wstring program_folder()
{
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n);
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

bool append(const std::wstring &path, const std::string &text)
{
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    const std::wstring folder = program_folder();
    std::wstring hold = L"20", marker = folder + L"\\standin-marker.txt", archive = folder + L"\\Data\\patch-2.mpq";
    variable(L"TESSARINE_STANDIN_HOLD", hold);
    variable(L"TESSARINE_STANDIN_MARKER", marker);
    variable(L"TESSARINE_STANDIN_ARCHIVE", archive);
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!wcscmp(argv[i], L"--hold"))
            hold = argv[i + 1];
        else if (!wcscmp(argv[i], L"--marker"))
            marker = argv[i + 1];
        else if (!wcscmp(argv[i], L"--archive"))
            archive = argv[i + 1];
    }

    std::string report = "arguments=" + std::to_string(argc - 1) + "\n";
    for (int i = 1; i < argc; ++i)
        report += "argument" + std::to_string(i) + "=" + utf8(argv[i]) + "\n";
    std::wstring directory(32768, L'\0');
    directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), &directory[0]));
    report += "directory=" + utf8(directory) + "\n";
    std::wstring overrides;
    if (variable(L"WINEDLLOVERRIDES", overrides))
        report += "WINEDLLOVERRIDES=" + utf8(overrides) + "\n";

    // Which d3d9 the game would render with.
    const HMODULE d3d9 = LoadLibraryW(L"d3d9.dll");
    report += std::string("d3d9=")
        + (!d3d9                                                ? "none"
               : GetProcAddress(d3d9, "tessarine_standin_d3d9") ? "beside"
                                                                : "system")
        + "\n";

    // The game's sharing: others may read and write, but not delete or rename.
    const HANDLE held = CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        report += "archive=error " + std::to_string(GetLastError()) + "\n";
        append(marker, report);
        return 2;
    }
    report += "archive=held\n";
    append(marker, report);
    Sleep(static_cast<DWORD>(_wtoi(hold.c_str())) * 1000);
    CloseHandle(held);
    append(marker, "released\n");
    return 0;
}
