#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <limits>
#include <optional>

namespace tess {

// True when the game counts as running: its archive "../data/patch-2.mpq"
// (found without regard to case) is missing, or another process holds it
// open. Never changes the file.
bool game_holds_archive();

// Whether another process holds the file open (the platform's own test).
bool file_held_open(const QString &path);

#ifndef Q_OS_WIN
// A file as the system knows it, whatever name or link reaches it.
struct FileId {
    quint64 device;
    quint64 inode;
};
// The file at `path`, links followed; nothing when it cannot be reached.
std::optional<FileId> file_id(const QString &path);
// The processes other than this one that hold the file open or mapped,
// among those this process may inspect; the search stops after `atMost`.
// What file_held_open() falls back to where a lease is not permitted.
QList<qint64> processes_holding(FileId file, int atMost = std::numeric_limits<int>::max());
#endif

struct LaunchCommand {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
};

// How to start the game at `gamePath` from the launcher's environment
// `environment`, the DXVK renderer on or off. On Windows the executable
// itself, environment unchanged. Elsewhere a game that is not itself
// runnable goes through Wine: the program named by WINE, else `wine` on the
// environment's PATH; and with DXVK on Wine is told to prefer the native
// d3d9.dll beside the game. Starts nothing.
LaunchCommand launch_command(const QString &gamePath, const QProcessEnvironment &environment, bool dxvkOn);

// Wine's DLL override list `overrides` with "d3d9=n,b" added, unless one of
// its entries already names d3d9 (then it is the user's and stays as it is).
QString with_native_d3d9(const QString &overrides);

// "../wow.exe" as it is on disk (letter case ignored), or as written when absent.
QString game_executable();

// Whether the DXVK renderer is on: "../d3d9.dll" under its working name,
// in any letter case.
bool dxvk_on();

// The community chat's invitation, joined from its stored pieces.
QString community_invitation();

}  // namespace tess
