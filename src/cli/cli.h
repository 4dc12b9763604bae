#pragma once

#include <optional>

namespace tess {

// Exit statuses of the command-line runs.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;       // a rename failed, or the language file is unusable
inline constexpr int kExitUnknown = 2;      // an unknown option, row or choice
inline constexpr int kExitGameRunning = 3;  // nothing was touched

// Runs the command line when it asks for one of the text commands (--help,
// --list, --set) and returns the exit status; nothing when the window is
// wanted. Needs no display and makes no application object of Qt's GUI.
std::optional<int> run_command_line(int argc, char *argv[]);

}  // namespace tess
