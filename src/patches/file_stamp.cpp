#include "patches/file_stamp.h"

#include "system/system.h"
#include "patches/wildcard.h"

#include <QDir>

namespace tess {

#ifdef Q_OS_WIN
std::optional<FileStamp> file_stamp(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok)
        return std::nullopt;
    FileStamp stamp;
    stamp.size = qint64(quint64(info.nFileSizeHigh) << 32 | info.nFileSizeLow);
    // 100 ns steps.
    stamp.modifiedNs =
        qint64(quint64(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime) * 100;
    stamp.id = quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    stamp.id ^= quint64(info.dwVolumeSerialNumber) << 48;
    return stamp;
}
#else
std::optional<FileStamp> file_stamp(const QString &path)
{
    struct stat st {
    };
    if (stat(encode_path(path).constData(), &st) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec);
    stamp.id = quint64(st.st_ino) ^ (quint64(st.st_dev) << 48);
    return stamp;
}
#endif

}  // namespace tess
