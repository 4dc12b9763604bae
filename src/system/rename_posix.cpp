#include "system/native.h"

namespace tess {

namespace {

RenameResult from_errno(int code)
{
    const RenameStatus status = code == EEXIST ? RenameStatus::TargetExists : RenameStatus::Failed;
    return {status, code};
}

// For file systems that know no exclusive rename: a hard link fails when
// the target exists, so link and unlink still never replace anything.
RenameResult link_then_unlink(const NativeName &f, const NativeName &t)
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
    const NativeName f = native_name(from);
    const NativeName t = native_name(to);
#ifdef Q_OS_LINUX
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return from_errno(errno);
#endif
    return link_then_unlink(f, t);
}

}  // namespace tess
