#pragma once

#include <QString>
#include <QStringList>

namespace tess {

// True when the game counts as running: its archive "../data/patch-2.mpq"
// (found without regard to case) is missing, or another process holds it
// open. Never changes the file.
bool game_holds_archive();

// Whether another process holds the file open (the platform's own test).
bool file_held_open(const QString &path);
// The search of every visible process's open files and mappings that
// file_held_open() falls back to where a lease is not permitted; on
// Windows the same test as file_held_open().
bool file_open_in_other_process(const QString &path);

struct LaunchCommand {
    QString program;
    QStringList arguments;
};

// How to start the game at `gamePath`. On Windows the executable itself;
// elsewhere a Windows executable that is not itself runnable goes through
// the `wine` found on `searchPath` (the PATH's folder list), when there is one.
LaunchCommand launch_command(const QString &gamePath, const QString &searchPath);

// "../wow.exe" as it is on disk (letter case ignored), or as written when absent.
QString game_executable();

// The community chat's invitation, joined from its stored pieces.
QString community_invitation();

}  // namespace tess
