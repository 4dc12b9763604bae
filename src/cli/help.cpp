#include "cli/cli.h"
#include "cli/commands.h"

namespace tess::cli {

namespace {

// One entry per option; a new command adds its line here and its file.
const char kHelp[] =
    "Usage: tessarine [LANG]\n"
    "       tessarine OPTION …\n"
    "Started from the launcher's folder, one level below the game's.\n"
    "Without an option the window starts; LANG chooses the language file (default: the system's).\n"
    "\n"
    "  --help                      this text\n"
    "  --list [LANG]               one line per row, in the window's order: its name, its title, the\n"
    "                              choice the window shows after its start (??? for none), the choices\n"
    "                              with their numbers, and why the row is switched off; tab-separated;\n"
    "                              changes nothing\n"
    "  --set ROW=CHOICE … [LANG]   makes each choice as the window does, with the same renames and\n"
    "                              log lines, then lists the rows; ROW is a patch letter, a row's\n"
    "                              title, or fonts, dxvk, allpatches; CHOICE a choice's text or number\n"
    "  --check [LANG]              checks every patch archive the rows switch: one line per archive\n"
    "                              (path, state, reason in LANG's texts) and a summary; exit 0 when\n"
    "                              all are sound, 1 otherwise\n"
    "\n"
    "Exit status: 0 done; 1 a rename failed, an archive is not sound, the language file is unusable\n"
    "or the output could not be written; 2 an unknown option, row or choice, or a row switched off by\n"
    "its conditions (nothing changed); 3 the game is running (nothing changed); 4 not a game folder:\n"
    "neither ../wow.exe nor ../Data exists (nothing changed).\n";

}  // namespace

int help_command(const QStringList &args, Output &out)
{
    if (!args.isEmpty()) {
        out.complain(QStringLiteral("--help takes no argument"));
        return kExitUnknown;
    }
    out.say(QString::fromUtf8(kHelp));
    return kExitDone;
}

}  // namespace tess::cli
