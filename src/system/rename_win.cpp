#include "system/native.h"

namespace tess {

RenameResult rename_no_replace(const QString &from, const QString &to)
{
    // Without MOVEFILE_REPLACE_EXISTING the call refuses an existing target;
    // a change of letter case alone renames the same file and succeeds.
    const NativeName f = native_name(from);
    const NativeName t = native_name(to);
    if (MoveFileExW(f.c_str(), t.c_str(), 0))
        return {};
    const DWORD code = GetLastError();
    const RenameStatus status =
        (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) ? RenameStatus::TargetExists : RenameStatus::Failed;
    return {status, int(code)};
}

}  // namespace tess
