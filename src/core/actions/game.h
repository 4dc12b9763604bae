#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "system/system.h"

namespace tess {

enum class GameProbe {
    NotRunning,
    Running,       // another process holds its archive open
    ProbeMissing,  // its archive is missing, which counts as running
};
// What the probe finds of the game's archive "../data/patch-2.mpq" (found
// without regard to case). Never changes the file.
GameProbe probe_game();
// True when the game counts as running (either way).
bool game_holds_archive();

// Whether the launcher sits in a game folder: "../wow.exe" or "../Data"
// exists (letter case ignored).
bool in_game_folder();

struct LaunchCommand {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
    // Wine, running this program, is told to prefer the d3d9.dll beside the
    // game in the prefix's registry before the start, since the environment
    // cannot tell it (see prefer_native_dll()).
    bool nativeD3d9InPrefix = false;
};

// The load order that makes Wine prefer the d3d9.dll beside the game.
inline constexpr char native_d3d9_override[] = "d3d9=n,b";

// The ways to start the game at `gamePath` from the launcher's environment
// `environment`, the DXVK renderer on or off, the preferred first. On
// Windows the executable itself; run by Wine there, with DXVK on, Wine is
// told to prefer the native d3d9.dll, in the environment and in the prefix.
// Elsewhere the executable itself when the system may run it, and Wine as
// well: the program named by WINE, else `wine` on the environment's PATH (a
// file on NTFS, exFAT or FAT shows its execute bits and still needs Wine);
// with DXVK on, the same d3d9 order. Starts nothing.
QList<LaunchCommand> launch_commands(const QString &gamePath, const QProcessEnvironment &environment, bool dxvkOn);

// What a start did: started, or which program could not be started and why.
struct [[nodiscard]] LaunchResult {
    enum class Why { None, Missing, NoWine, System };
    Why why = Why::None;
    QString program;  // the one that could not be started
    QString message;  // the system's own words, for System
    explicit operator bool() const { return why == Why::None; }
};

// Starts the first of `commands` that the system can start, detached; says
// why not when none could be. A d3d9 order the prefix cannot take leaves the
// game to start with Wine's own d3d9.
LaunchResult start_game(const QList<LaunchCommand> &commands);

// Wine's DLL override list `overrides` with "d3d9=n,b" added, unless one of
// its entries already gives d3d9 a load order as Wine's loader reads the
// list (then it is the user's and stays as it is).
QString with_native_d3d9(const QString &overrides);

// "../wow.exe" as it is on disk (letter case ignored), or as written when absent.
QString game_executable();

// The community chat's invitation, joined from its stored pieces.
QString community_invitation();

}  // namespace tess
