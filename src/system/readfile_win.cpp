#include "system/bounded_read.h"
#include "system/native.h"

#include <QFileInfo>

#include <vector>

namespace tess {

namespace {

ReadResult refused(DWORD code)
{
    const ReadResult::Fault fault = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
        ? ReadResult::Fault::Missing
        : ReadResult::Fault::Unreadable;
    return {{}, fault, QString::fromStdString(std::system_category().message(int(code))), {}};
}

// The final path of an open handle, without the "\\?\" the call puts in front.
QString final_path(HANDLE handle)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(handle, buffer.data(), DWORD(buffer.size()), FILE_NAME_NORMALIZED);
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            QString path = QString::fromWCharArray(buffer.data(), int(n));
            if (path.startsWith(QLatin1String("\\\\?\\UNC\\")))
                path = QStringLiteral("\\\\") + path.mid(8);
            else if (path.startsWith(QLatin1String("\\\\?\\")))
                path = path.mid(4);
            return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        }
        buffer.resize(n);
    }
}

}  // namespace

ReadResult read_regular_file(const QString &path, qint64 limit)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {{}, ReadResult::Fault::Missing, {}, {}};
    if (!info.isFile())
        return {{}, ReadResult::Fault::NotRegular, {}, {}};
    // Shared as the game and editors expect: another writer or a rename is not refused.
    const HANDLE handle =
        CreateFileW(native_name(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return refused(GetLastError());
    ReadResult result;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        result.fault = ReadResult::Fault::NotRegular;
    } else {
        result = read_bounded(limit, [handle](char *at, qint64 size) {
            DWORD got = 0;
            if (!ReadFile(handle, at, DWORD(qMin<qint64>(size, 1 << 30)), &got, nullptr))
                return qint64(-1);
            return qint64(got);
        });
    }
    result.location = final_path(handle);
    CloseHandle(handle);
    return result;
}

QString real_path(const QString &path)
{
    // Backup semantics open folders too; without FILE_FLAG_OPEN_REPARSE_POINT links are followed.
    const HANDLE handle = CreateFileW(native_name(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    QString found = final_path(handle);
    CloseHandle(handle);
    return found;
}

}  // namespace tess

namespace tess {

namespace {

// Both systems keep the open file in one integer; here it holds a HANDLE.
HANDLE as_handle(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace

ReadOnlyFile::~ReadOnlyFile() { close(); }

void ReadOnlyFile::close()
{
    if (handle_ != -1)
        CloseHandle(as_handle(handle_));
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
    if (handle_ == -1 || !GetFileSizeEx(as_handle(handle_), &size))
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
        if (!ReadFile(as_handle(handle_), into + done, ask, &got, &at)) {
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
