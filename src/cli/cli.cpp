#include "cli/cli.h"

#include "cli/arguments.h"
#include "cli/commands.h"
#include "system/system.h"

#include <QCoreApplication>

namespace tess {

std::optional<int> run_command_line(int argc, char *argv[])
{
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    using Command = int (*)(const QStringList &, cli::Output &);
    Command command = nullptr;
    if (!given.isEmpty()) {
        const QString &option = given.first();
        if (option == QLatin1String("--help"))
            command = cli::help_command;
        else if (option == QLatin1String("--list"))
            command = cli::list_command;
        else if (option == QLatin1String("--set"))
            command = cli::set_command;
        else if (option == QLatin1String("--check"))
            command = cli::check_command;
    }
    const QString unknown = command ? QString() : cli::unknown_window_option(given);
    if (!command && unknown.isEmpty())
        return std::nullopt;  // a language code, or Qt's own options: the window
    console::attach_parent();
    cli::Output out;
    if (!command) {
        out.complain(QStringLiteral("unknown option '%1' (see tessarine --help)").arg(unknown));
        return kExitUnknown;
    }
    // Core only: the arguments as the system gave them, no display.
    QCoreApplication app(argc, argv);
    return out.finish(command(QCoreApplication::arguments().mid(2), out));
}

}  // namespace tess
