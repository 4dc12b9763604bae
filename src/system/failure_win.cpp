#include "system/native.h"

#include <QDir>
#include <QFileInfo>

#include <knownfolders.h>
#include <shlobj.h>

namespace tess {

FailureReason failure_reason(int error)
{
    switch (DWORD(error)) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return FailureReason::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_DRIVE_LOCKED: return FailureReason::InUse;
    case ERROR_WRITE_PROTECT: return FailureReason::ReadOnly;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return FailureReason::Missing;
    case ERROR_DIRECTORY:
    case ERROR_DIR_NOT_EMPTY:
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return FailureReason::FolderInTheWay;
    default: return FailureReason::Other;
    }
}

QString system_message(int error)
{
    wchar_t *buffer = nullptr;
    const DWORD size =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, DWORD(error), 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text;
    if (size > 0 && buffer)
        text = QString::fromWCharArray(buffer, int(size));
    LocalFree(buffer);
    // The system's sentences end in a full stop and a line end; the notice
    // puts the message inside a sentence of its own.
    text = text.trimmed();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.isEmpty() ? QStringLiteral("error %1").arg(error) : text;
}

namespace {

// The folder's path as the program writes paths, or nothing.
QString known_folder(REFKNOWNFOLDERID id)
{
    wchar_t *path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
        folder = QDir::cleanPath(QDir::fromNativeSeparators(QString::fromWCharArray(path)));
    CoTaskMemFree(path);
    return folder;
}

// The path's long form where it exists ("C:/PROGRA~1/Game" is under
// "C:/Program Files"), absolute and '/'-separated.
QString long_form(const QString &path)
{
    QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const std::wstring native = QDir::toNativeSeparators(absolute).toStdWString();
    const DWORD size = GetLongPathNameW(native.c_str(), nullptr, 0);
    std::wstring wide(size, L'\0');
    if (size == 0 || GetLongPathNameW(native.c_str(), &wide[0], size) == 0)
        return absolute;
    return QDir::cleanPath(QDir::fromNativeSeparators(QString::fromWCharArray(wide.c_str())));
}

}  // namespace

bool under_program_folders(const QString &path)
{
    const QString where = long_form(path);
    const KNOWNFOLDERID *const folders[] = {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86,
                                            &FOLDERID_ProgramFilesX64};
    for (const KNOWNFOLDERID *id : folders) {
        const QString folder = known_folder(*id);
        if (folder.isEmpty())
            continue;
        if (where.compare(folder, Qt::CaseInsensitive) == 0
            || where.startsWith(folder + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

}  // namespace tess
