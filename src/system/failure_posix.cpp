#include "system/native.h"

#include <system_error>

namespace tess {

FailureReason failure_reason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return FailureReason::AccessDenied;
    case EBUSY:
    case ETXTBSY: return FailureReason::InUse;
    case EROFS: return FailureReason::ReadOnly;
    case ENOENT: return FailureReason::Missing;
    case EISDIR:
    case ENOTDIR:
    case ENOTEMPTY:
    case EEXIST: return FailureReason::FolderInTheWay;
    default: return FailureReason::Other;
    }
}

QString system_message(int error)
{
    // strerror_r() behind it: safe on the archive check's thread too.
    return QString::fromLocal8Bit(std::generic_category().message(error).c_str());
}

bool under_program_folders(const QString &) { return false; }

}  // namespace tess
