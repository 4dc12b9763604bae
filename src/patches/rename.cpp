#include "patches/rename.h"

#include "patches/wildcard.h"

#include "system/system.h"

namespace tess {

#ifdef Q_OS_WIN

RenameResult rename_no_replace(const QString &from, const QString &to)
{
    // Without MOVEFILE_REPLACE_EXISTING the call refuses an existing target;
    // a change of letter case alone renames the same file and succeeds.
    const std::wstring f = from.toStdWString();
    const std::wstring t = to.toStdWString();
    if (MoveFileExW(f.c_str(), t.c_str(), 0))
        return {};
    const DWORD code = GetLastError();
    const RenameStatus status =
        (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) ? RenameStatus::TargetExists : RenameStatus::Failed;
    return {status, int(code)};
}

#else

namespace {

RenameResult from_errno(int code)
{
    const RenameStatus status = code == EEXIST ? RenameStatus::TargetExists : RenameStatus::Failed;
    return {status, code};
}

// For file systems that know no exclusive rename: a hard link fails when
// the target exists, so link and unlink still never replace anything.
RenameResult link_then_unlink(const QByteArray &f, const QByteArray &t)
{
    if (::link(f.constData(), t.constData()) != 0)
        return from_errno(errno);
    if (::unlink(f.constData()) != 0) {
        const int code = errno;
        ::unlink(t.constData());
        return from_errno(code);
    }
    return {};
}

}  // namespace

RenameResult rename_no_replace(const QString &from, const QString &to)
{
    const QByteArray f = encode_path(from);
    const QByteArray t = encode_path(to);
#ifdef Q_OS_LINUX
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return from_errno(errno);
#endif
    return link_then_unlink(f, t);
}

#endif

}  // namespace tess
