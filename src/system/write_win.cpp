#include "system/native.h"

#include <QRandomGenerator>

namespace tess {

namespace {

WriteResult failure(DWORD code)
{
    return {false, int(code), QString::fromStdString(std::system_category().message(int(code)))};
}

}  // namespace

WriteResult replace_file(const QString &path, const QByteArray &bytes)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString prefix = path.left(slash + 1) + QLatin1Char('.') + path.mid(slash + 1) + QStringLiteral(".new-");
    NativeName temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = native_name(prefix + QString::number(QRandomGenerator::global()->generate(), 36));
        // CREATE_NEW: a name planted meanwhile, a link included, is never opened.
        handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return failure(GetLastError());
    }
    if (handle == INVALID_HANDLE_VALUE)
        return failure(ERROR_FILE_EXISTS);
    DWORD code = 0;
    for (qint64 done = 0; code == 0 && done < bytes.size();) {
        DWORD wrote = 0;
        const DWORD size = DWORD(qMin<qint64>(bytes.size() - done, 1 << 30));
        if (!WriteFile(handle, bytes.constData() + done, size, &wrote, nullptr))
            code = GetLastError();
        else if (wrote == 0)
            code = ERROR_WRITE_FAULT;
        done += wrote;
    }
    // On the disk before the name points at it: a crash leaves the old file or the new one.
    if (code == 0 && !FlushFileBuffers(handle))
        code = GetLastError();
    CloseHandle(handle);
    // A rename of the entry: a link by the final name is replaced, not followed.
    if (code == 0
        && !MoveFileExW(temporary.c_str(), native_name(path).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        code = GetLastError();
    if (code != 0) {
        DeleteFileW(temporary.c_str());
        return failure(code);
    }
    return {};
}

}  // namespace tess
