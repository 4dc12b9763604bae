#include "system/native.h"

namespace tess {

namespace {

// 100 ns steps since 1601, which in nanoseconds would overflow: counted
// from 1970 as on POSIX, held within what nanoseconds can count.
qint64 nanoseconds_from_1970(quint64 steps)
{
    constexpr quint64 kSteps1601To1970 = 116444736000000000;
    constexpr quint64 kMostSteps = quint64(std::numeric_limits<qint64>::max() / 100);
    const qint64 from1970 = steps >= kSteps1601To1970 ? qint64(qMin(steps - kSteps1601To1970, kMostSteps))
                                                      : -qint64(qMin(kSteps1601To1970 - steps, kMostSteps));
    return from1970 * 100;
}

}  // namespace

std::optional<FileStamp> file_stamp(const QString &path)
{
    const NativeName native = native_name(path);
    HANDLE h = CreateFileW(native.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    // The change time, which SetFileTime cannot set; a file system that
    // keeps none leaves it 0.
    FILE_BASIC_INFO basic{};
    const bool changed = ok && GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) != 0;
    CloseHandle(h);
    if (!ok)
        return std::nullopt;
    FileStamp stamp;
    stamp.size = qint64(quint64(info.nFileSizeHigh) << 32 | info.nFileSizeLow);
    stamp.modifiedNs =
        nanoseconds_from_1970(quint64(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime);
    stamp.id = quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    stamp.id ^= quint64(info.dwVolumeSerialNumber) << 48;
    if (changed && basic.ChangeTime.QuadPart != 0)
        stamp.changedNs = nanoseconds_from_1970(quint64(basic.ChangeTime.QuadPart));
    return stamp;
}

}  // namespace tess
