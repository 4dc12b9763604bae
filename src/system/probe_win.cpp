#include "system/native.h"

#include <QFileInfo>

namespace tess {

std::optional<FileId> file_id(const QString &path)
{
    // Reading attributes needs no rights; folders open only with backup semantics.
    const HANDLE h = CreateFileW(native_name(path).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok)
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber, quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
}

QList<qint64> processes_holding(FileId, int) { return {}; }

bool file_held_open(const QString &path)
{
    // The running client keeps its archives open without sharing deletion,
    // so renaming the file onto itself fails exactly while it runs.
    const NativeName p = native_name(QFileInfo(path).absoluteFilePath());
    return !MoveFileExW(p.c_str(), p.c_str(), 0);
}

}  // namespace tess
