#pragma once

#include <QString>

namespace tess {

enum class RenameStatus {
    Renamed,
    TargetExists,  // another entry holds the new name; nothing was changed
    Failed,        // the system refused the rename; nothing was changed
};

struct [[nodiscard]] RenameResult {
    RenameStatus status = RenameStatus::Renamed;
    int error = 0;  // the system's own error code
};

// Renames with the platform's own call and never replaces an existing
// entry: the check for the target and the rename are one system call, so
// nothing can slip in between them. Paths are as the searches give them
// (names that are not valid text keep their own bytes).
RenameResult rename_no_replace(const QString &from, const QString &to);

}  // namespace tess
