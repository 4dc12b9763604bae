#include "cli/arguments.h"

namespace tess::cli {

namespace {

bool is_option(const QString &arg) { return arg.startsWith(QLatin1Char('-')); }

// Qt's own options, which its application object takes from a window's
// command line, with one dash or two; those in the first list take a value,
// as the next argument or after "=".
const char *const kQtValueOptions[] = {"platform",
                                       "platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qwindowgeometry",
                                       "qwindowicon",
                                       "qwindowtitle",
                                       "session",
                                       "style",
                                       "stylesheet",
                                       "display",
                                       "geometry",
                                       "title",
                                       "name",
                                       "icon",
                                       "qmljsdebugger",
                                       "dialogs"};
const char *const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

// 0: not Qt's; 1: a flag or "name=value"; 2: it takes the next argument.
int qt_option_length(const QString &arg)
{
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    const int eq = int(name.indexOf(QLatin1Char('=')));
    const bool inlineValue = eq >= 0;
    if (inlineValue)
        name.truncate(eq);
    for (const char *option : kQtValueOptions)
        if (name == QLatin1String(option))
            return inlineValue ? 1 : 2;
    for (const char *flag : kQtFlags)
        if (!inlineValue && name == QLatin1String(flag))
            return 1;
    return 0;
}

}  // namespace

Arguments parse_arguments(const QString &option, const QStringList &args, Pairs pairs)
{
    Arguments a;
    for (const QString &arg : args) {
        if (!a.error.isEmpty())
            break;
        if (is_option(arg))
            a.error = QStringLiteral("%1 takes no option '%2' (see tessarine --help)").arg(option, arg);
        else if (arg.contains(QLatin1Char('=')) && pairs == Pairs::Taken)
            a.pairs.push_back(arg);
        else if (arg.contains(QLatin1Char('=')))
            a.error = QStringLiteral("%1 takes no ROW=CHOICE").arg(option);
        else if (a.locale.isEmpty())
            a.locale << arg;
        else
            a.error = QStringLiteral("unexpected argument '%1'").arg(arg);
    }
    return a;
}

QString unknown_window_option(const QStringList &args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!is_option(arg))
            continue;
        const int length = qt_option_length(arg);
        if (length == 0)
            return arg;
        i += length - 1;
    }
    return QString();
}

}  // namespace tess::cli
