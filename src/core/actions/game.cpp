#include "core/actions/game.h"

#include "system/system.h"
#include "core/search/wildcard.h"
#include "core/search/places.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace tess {

namespace {

// Wine's own separators in an override entry: between module names and
// between the letters of a load order. Nothing else counts as space.
bool is_override_separator(QChar c) { return c == QLatin1Char(',') || c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// ASCII letters only, as Wine compares module names.
bool same_ascii_name(QStringView a, QLatin1String b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const ushort x = a[i].unicode(), y = ushort(b[i].unicode());
        const auto lower = [](ushort c) { return ushort(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); };
        if (lower(x) != lower(y))
            return false;
    }
    return true;
}

// Whether one module name of an entry is the game's d3d9, read as Wine's
// loader reads it: a last ".dll" dropped, letter case ignored; "*d3d9" is the
// same module wherever it lies (and is looked up before "d3d9").
bool is_d3d9(QStringView name)
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0 && same_ascii_name(name.mid(dot), QLatin1String(".dll")))
        name = name.left(dot);
    return same_ascii_name(name, QLatin1String("d3d9")) || same_ascii_name(name, QLatin1String("*d3d9"));
}

// Whether an entry ("name,name=order") gives d3d9 a load order. Names end at
// the first "="; an entry without one is ignored, as Wine ignores it.
bool names_d3d9(QStringView entry)
{
    const int eq = int(entry.indexOf(QLatin1Char('=')));
    if (eq < 0)
        return false;
    const QStringView names = entry.left(eq);
    for (int start = 0; start < names.size();) {
        int end = start;
        while (end < names.size() && !is_override_separator(names[end]))
            ++end;
        if (end > start && is_d3d9(names.mid(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

QString with_native_d3d9(const QString &overrides)
{
    // Entries end at ";"; a later entry for a module replaces an earlier one,
    // so one added at the end decides, and is added only where the user's
    // value leaves d3d9 to Wine's default.
    for (const QStringView entry : QStringView(overrides).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (names_d3d9(entry))
            return overrides;
    QString native = QString::fromLatin1(native_d3d9_override);
    if (overrides.trimmed().isEmpty())
        return native;
    return overrides + (overrides.endsWith(QLatin1Char(';')) ? QString() : QStringLiteral(";")) + native;
}

namespace {

// Wine loads its own d3d9 unless told to prefer the one beside the game.
// False when the environment's overrides already name d3d9 (the user's).
bool with_dxvk_order(QProcessEnvironment &environment)
{
    const QString overrides = QStringLiteral("WINEDLLOVERRIDES");
    const QString given = environment.value(overrides);
    const QString wanted = with_native_d3d9(given);
    environment.insert(overrides, wanted);
    return wanted != given;
}

// The `wine` to run a Windows program with: WINE as Wine's own tools honour
// it (a bare name is looked up on PATH), else `wine` on PATH; empty if none.
QString wine_program(const QProcessEnvironment &environment)
{
    const QStringList path = environment.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QString chosen = environment.value(QStringLiteral("WINE"));
    if (!chosen.isEmpty())
        return chosen.contains(QLatin1Char('/')) ? chosen : QStandardPaths::findExecutable(chosen, path);
    return QStandardPaths::findExecutable(QStringLiteral("wine"), path);
}

}  // namespace

QList<LaunchCommand> launch_commands(const QString &gamePath, const QProcessEnvironment &environment, bool dxvkOn)
{
    if (runs_windows_programs) {
        // The game starts in this program's Wine prefix, with this environment.
        LaunchCommand command{gamePath, {}, environment};
        if (dxvkOn && run_by_wine())
            command.nativeD3d9InPrefix = with_dxvk_order(command.environment);
        return {command};
    }
    LaunchCommand direct{gamePath, {}, environment};
    if (dxvkOn)
        (void)with_dxvk_order(direct.environment);
    QList<LaunchCommand> commands;
    const QFileInfo game(gamePath);
    // Execute bits alone do not make a Windows program runnable here (every
    // file on NTFS or exFAT shows them): when the system refuses it, Wine.
    if (!game.exists() || game.isExecutable())
        commands.append(direct);
    const QString wine = wine_program(environment);
    if (game.exists() && !wine.isEmpty())
        commands.append({wine, {gamePath}, direct.environment});
    if (commands.isEmpty())
        commands.append(direct);
    return commands;
}

LaunchResult start_game(const QList<LaunchCommand> &commands)
{
    QString message;
    for (const LaunchCommand &command : commands) {
        if (command.nativeD3d9InPrefix)
            (void)prefer_native_dll(QFileInfo(command.program).fileName(), QStringLiteral("d3d9"));
        QProcess game;
        game.setProgram(command.program);
        game.setArguments(command.arguments);
        game.setProcessEnvironment(command.environment);
        if (game.startDetached())
            return {};
        if (message.isEmpty())
            message = game.errorString();
    }
    LaunchResult failed;
    if (commands.isEmpty())
        return failed;
    // Run by Wine, the game is Wine's argument; Wine is tried last.
    const LaunchCommand &first = commands.first();
    const QString game = first.arguments.isEmpty() ? first.program : first.arguments.first();
    const bool wineTried = !commands.last().arguments.isEmpty();
    failed.program = game;
    failed.message = message;
    if (!QFileInfo::exists(game))
        failed.why = LaunchResult::Why::Missing;
    else if (!wineTried && !runs_windows_programs)
        failed.why = LaunchResult::Why::NoWine;  // the system refused it and no Wine was found
    else {
        failed.why = LaunchResult::Why::System;
        failed.program = commands.last().program;
    }
    return failed;
}

GameProbe probe_game()
{
    const QStringList found = glob(places::kProbe);
    if (found.isEmpty())
        return GameProbe::ProbeMissing;
    return file_held_open(found.first()) ? GameProbe::Running : GameProbe::NotRunning;
}

bool game_holds_archive() { return probe_game() != GameProbe::NotRunning; }

bool in_game_folder()
{
    return !glob(places::kExecutable, GlobEntries::All).isEmpty() || !glob(places::kData, GlobEntries::All).isEmpty();
}

QString game_executable()
{
    const QStringList found = glob(places::kExecutable);
    return found.isEmpty() ? places::kExecutable : found.first();
}

QString community_invitation()
{
    static const char *const pieces[] = {"htt", "ps://", "disc", "ord.gg", "/tess", "arine"};
    QString address;
    for (const char *piece : pieces)
        address += QLatin1String(piece);
    return address;
}

}  // namespace tess
