#include "system/native.h"

namespace tess {

namespace {

bool identify(const NativeName &dir, FolderId &id)
{
    // Folders open only with backup semantics; reading attributes needs no rights.
    const HANDLE h =
        CreateFileW(dir.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (ok)
        id = {info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return ok;
}

// Symbolic links and junctions are links; other reparse points (cloud
// placeholders, deduplicated files) are ordinary files and folders.
bool is_link(const WIN32_FIND_DATAW &data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        && (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

}  // namespace

FolderListing list_folder(const QString &dir)
{
    FolderListing listing;
    const NativeName path = native_name(dir.isEmpty() ? QStringLiteral(".") : dir);
    WIN32_FIND_DATAW data;
    const HANDLE h = FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                      FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE)
        return listing;
    do {
        const QString name = QString::fromWCharArray(data.cFileName);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        listing.entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, is_link(data)});
    } while (FindNextFileW(h, &data));
    FindClose(h);
    listing.identified = identify(path, listing.id);
    return listing;
}

}  // namespace tess
