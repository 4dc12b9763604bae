#include "system/system.h"

#include "system/native.h"

namespace tess::console {

namespace {

HANDLE out_handle = nullptr;
HANDLE err_handle = nullptr;

bool usable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN; }

bool write(HANDLE h, const QByteArray &utf8)
{
    DWORD written = 0;
    return usable(h) && WriteFile(h, utf8.constData(), DWORD(utf8.size()), &written, nullptr)
        && written == DWORD(utf8.size());
}

}  // namespace

void attach_parent()
{
    // A redirected stream (a pipe, a file) is used as it is.
    out_handle = GetStdHandle(STD_OUTPUT_HANDLE);
    err_handle = GetStdHandle(STD_ERROR_HANDLE);
    if (usable(out_handle) && usable(err_handle))
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (!usable(out_handle))
        out_handle = console;
    if (!usable(err_handle))
        err_handle = console;
    // The titles are written as UTF-8.
    SetConsoleOutputCP(CP_UTF8);
}

bool out(const QByteArray &utf8) { return write(out_handle, utf8); }

bool err(const QByteArray &utf8) { return write(err_handle, utf8); }

}  // namespace tess::console
