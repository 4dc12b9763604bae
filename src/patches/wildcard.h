#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The wildcard language shared by every file search of the program:
// '*' any run of characters within one name, '?' exactly one character,
// '**' as a whole component any depth of folders. Letter case is ignored
// for folder and file names alike, and wildcard components never match
// names beginning with '.' (nor does '**' enter such folders).
namespace tess {

enum class GlobEntries {
    Files,  // the last component matches everything but folders
    All,    // the last component matches folders too
};

bool has_wildcard(QStringView component);

// Matches one name against one pattern component, ignoring letter case.
bool wildcard_match(QStringView pattern, QStringView name);

// Every path that matches the '/'-separated pattern, built from the
// pattern's own leading components and the names as they are on disk.
// All folders are listed before the result is returned, so callers may
// rename what they get without disturbing the search. Folder order is the
// file system's; '**' visits a folder before the folders below it and
// does not follow symbolic links, so it cannot loop.
QStringList glob(const QString &pattern, GlobEntries entries = GlobEntries::Files);

}  // namespace tess
