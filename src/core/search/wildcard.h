#pragma once

#include <QByteArray>
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

enum class GlobLinks {
    // A link named by a component is followed (game data kept on another
    // drive); '**' never enters one, so it cannot loop.
    Named,
    // Only what the last component names may be a link, and it is found as
    // the link itself: the search never leaves the tree through a link.
    Never,
};

bool has_wildcard(QStringView component);

// Matches one name against one pattern component, ignoring letter case.
bool wildcard_match(QStringView pattern, QStringView name);

// Whether a path component picks the name as glob() picks it: a wildcard
// never a name beginning with '.', a plain name any letter case of itself.
bool component_matches(QStringView component, QStringView name);

// Every path that matches the '/'-separated pattern, built from the
// pattern's own leading components and the names as they are on disk.
// All folders are listed before the result is returned, so callers may
// rename what they get without disturbing the search. Folder order is the
// file system's; '**' visits a folder before the folders below it. A folder
// reachable under two names is searched once.
QStringList glob(const QString &pattern, GlobEntries entries = GlobEntries::Files, GlobLinks links = GlobLinks::Named);

// The last component of a '/'-separated path, and everything before it
// (with its trailing '/', empty for a bare name).
QString file_name(const QString &path);
QString parent_of(const QString &path);

}  // namespace tess
