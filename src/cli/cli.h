#pragma once

#include <optional>

namespace tess {

// Exit statuses of the command-line runs.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;         // a rename failed, an archive is not sound, the language
                                              // file is unusable, or the output was lost
inline constexpr int kExitUnknown = 2;        // an unknown option, row or choice
inline constexpr int kExitGameRunning = 3;    // nothing was touched
inline constexpr int kExitNotGameFolder = 4;  // neither ../wow.exe nor ../Data: nothing was touched

// Runs the command line when it asks for one of the text commands (--help,
// --list, --set, --check) or names an option that is none of them nor one of
// Qt's own, and returns the exit status; nothing when the window is wanted.
// Needs no display and makes no application object of Qt's GUI.
std::optional<int> run_command_line(int argc, char *argv[]);

}  // namespace tess
