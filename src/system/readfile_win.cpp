#include "system/bounded_read.h"
#include "system/native.h"

#include <QFile>
#include <QFileInfo>

namespace tess {

ReadResult read_regular_file(const QString &path, qint64 limit)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {{}, ReadResult::Fault::Missing, {}};
    if (!info.isFile())
        return {{}, ReadResult::Fault::NotRegular, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, ReadResult::Fault::Unreadable, file.errorString()};
    return read_bounded(limit, [&file](char *at, qint64 size) { return file.read(at, size); });
}

}  // namespace tess

namespace tess {

ReadOnlyFile::~ReadOnlyFile() { close(); }

void ReadOnlyFile::close()
{
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

ReadResult::Fault ReadOnlyFile::open(const QString &path)
{
    close();
    const NativeName native = native_name(path);
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ReadResult::Fault::NotRegular;
    HANDLE h = CreateFileW(native.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        error_ = qt_error_string(int(code));
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? ReadResult::Fault::Missing
                                                                            : ReadResult::Fault::Unreadable;
    }
    // A device or a pipe reached by its name is no file to read in place.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return ReadResult::Fault::NotRegular;
    }
    handle_ = reinterpret_cast<qintptr>(h);
    return ReadResult::Fault::None;
}

qint64 ReadOnlyFile::size()
{
    LARGE_INTEGER size;
    if (handle_ == -1 || !GetFileSizeEx(reinterpret_cast<HANDLE>(handle_), &size))
        return -1;
    return qint64(size.QuadPart);
}

qint64 ReadOnlyFile::read_at(quint64 pos, char *into, qint64 bytes)
{
    if (handle_ == -1) {
        error_ = qt_error_string(ERROR_INVALID_HANDLE);
        return -1;
    }
    qint64 done = 0;
    while (done < bytes) {
        // The place rides in the OVERLAPPED of a synchronous handle.
        OVERLAPPED at{};
        const quint64 from = pos + quint64(done);
        at.Offset = DWORD(from & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(from >> 32);
        const DWORD ask = DWORD(qMin<qint64>(bytes - done, qint64(1) << 30));
        DWORD got = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(handle_), into + done, ask, &got, &at)) {
            const DWORD code = GetLastError();
            if (code == ERROR_HANDLE_EOF)
                break;
            error_ = qt_error_string(int(code));
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

}  // namespace tess
