#include "cli/cli.h"

#include "core/actions/game.h"
#include "system/system.h"
#include "log/log.h"
#include "core/config/loading.h"
#include "cli/check_command.h"
#include "core/patches/option_rows.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>

#include <cstring>
#include <functional>

namespace tess {

namespace {

const char kConfigDir[] = ".config";

// One entry per option; a new command adds its line here and its case in
// run_command_line().
const char kHelp[] =
    "Usage: tessarine [LANG]\n"
    "       tessarine OPTION …\n"
    "Started from the launcher's folder, one level below the game's.\n"
    "Without an option the window starts; LANG chooses the language file (default: the system's).\n"
    "\n"
    "  --help                      this text\n"
    "  --list [LANG]               one line per row, in the window's order: its name, its title, the\n"
    "                              choice the game folder matches (??? for none), the choices with\n"
    "                              their numbers, and why the row is switched off; tab-separated\n"
    "  --set ROW=CHOICE … [LANG]   makes each choice as the window does, with the same renames and\n"
    "                              log lines, then lists the rows; ROW is a patch letter, a row's\n"
    "                              title, or fonts, dxvk, allpatches; CHOICE a choice's text or number\n"
    "  --check [LANG]              checks every patch archive the rows switch: one line per archive\n"
    "                              (path, state, reason in LANG's texts) and a summary; exit 0 when\n"
    "                              all are sound, 1 otherwise\n"
    "\n"
    "Exit status: 0 done; 1 a rename failed, an archive is not sound or the language file is unusable;\n"
    "2 an unknown option, "
    "row or choice (nothing changed); 3 the game is running (nothing changed).\n";

void say(const QString &text) { console::out(text.toUtf8()); }
void complain(const QString &text) { console::err(QByteArrayLiteral("tessarine: ") + text.toUtf8() + '\n'); }

bool same(const QString &a, const QString &b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

QString shown_text(const QStringList &choices, int shown)
{
    return shown < 0 ? QStringLiteral("???") : choices.value(shown);
}

QString numbered(const QStringList &choices)
{
    QStringList parts;
    for (int i = 0; i < choices.size(); ++i)
        parts << QString::number(i) + QLatin1Char(' ') + choices.at(i);
    return parts.join(QStringLiteral(" | "));
}

QString line(const QString &id, const RowTitle &title, const QStringList &choices, int shown,
             const QStringList &why = {})
{
    return QStringList{id, title.name.trimmed(), shown_text(choices, shown), numbered(choices),
                       why.join(QStringLiteral("; "))}
               .join(QLatin1Char('\t'))
        + QLatin1Char('\n');
}

// What the game folder holds now, read without changing anything.
QString listing(const RowsModel &model)
{
    const PatchStatusMap status = get_status();
    std::vector<const PatchRow *> rows;
    std::vector<int> shown;
    for (const PatchRow &p : model.patches) {
        rows.push_back(&p);
        shown.push_back(matching_choice(p, status.value(p.key)));
    }
    QString text = line(QStringLiteral("allpatches"), model.allpatches.title, model.allpatches.choices,
                        allpatches_mode(rows, shown, model.defaults, status));
    text += line(QStringLiteral("fonts"), model.fonts.title, model.fonts.choices, fonts_on_disk());
    text += line(QStringLiteral("dxvk"), model.dxvk.title, model.dxvk.choices, dxvk_on_disk());
    for (size_t i = 0; i < rows.size(); ++i)
        text += line(rows[i]->key, rows[i]->title, rows[i]->texts(), shown[i], failed_hints(*rows[i], status));
    return text;
}

// The choice a text names: its text (letter case and outer spaces aside),
// else its number.
int choice_index(const QStringList &choices, const QString &text)
{
    for (int i = 0; i < choices.size(); ++i)
        if (same(choices.at(i), text))
            return i;
    bool number = false;
    const int n = text.trimmed().toInt(&number);
    return number && n >= 0 && n < choices.size() ? n : -1;
}

// One ROW=CHOICE of --set, resolved on the model.
struct Pick {
    enum class Row { Patch, Fonts, Dxvk, AllPatches } row = Row::Patch;
    QString key;  // the patch letter
    int index = -1;
};

struct Arguments {
    std::vector<QString> pairs;
    QString locale;
    QString error;  // empty when usable
};

Arguments split_arguments(const QStringList &args)
{
    Arguments a;
    for (const QString &arg : args) {
        if (arg.contains(QLatin1Char('=')))
            a.pairs.push_back(arg);
        else if (a.locale.isEmpty() && !arg.startsWith(QLatin1Char('-')))
            a.locale = arg;
        else
            a.error = QStringLiteral("unexpected argument '%1'").arg(arg);
    }
    if (a.locale.isEmpty())
        a.locale = QLocale::system().name().toLower();
    return a;
}

// A row by patch letter, by title or by its fixed name; false with a message.
bool resolve(const RowsModel &model, const QString &pair, Pick &pick, QString &error)
{
    const int eq = int(pair.indexOf(QLatin1Char('=')));
    const QString row = pair.left(eq).trimmed();
    const QString choice = pair.mid(eq + 1);
    QStringList choices;
    const auto fixed = [&](Pick::Row kind, const char *id, const FixedRow &f) {
        if (!same(row, QLatin1String(id)) && !same(row, f.title.name))
            return false;
        pick.row = kind;
        choices = f.choices;
        return true;
    };
    bool found = false;
    for (const PatchRow &p : model.patches)
        if (!found && (row == p.key || same(row, p.title.name))) {
            found = true;
            pick.row = Pick::Row::Patch;
            pick.key = p.key;
            choices = p.texts();
        }
    found = found || fixed(Pick::Row::AllPatches, "allpatches", model.allpatches)
        || fixed(Pick::Row::Fonts, "fonts", model.fonts) || fixed(Pick::Row::Dxvk, "dxvk", model.dxvk);
    if (!found) {
        error = QStringLiteral("no row '%1' (see tessarine --list)").arg(row);
        return false;
    }
    pick.index = choice_index(choices, choice);
    if (pick.index < 0) {
        error = QStringLiteral("row '%1' has no choice '%2'; its choices: %3").arg(row, choice, numbered(choices));
        return false;
    }
    return true;
}

std::optional<RowsModel> load_model(const QString &locale)
{
    const LoadedLanguageFile loaded = load_language_file(QLatin1String(kConfigDir), locale);
    if (!loaded.file.error.isEmpty()) {
        complain(QStringLiteral("cannot use %1: %2").arg(loaded.path, loaded.file.error));
        return std::nullopt;
    }
    return rows_model(loaded.file.doc);
}

int list_rows(const QStringList &args)
{
    const Arguments a = split_arguments(args);
    if (!a.error.isEmpty() || !a.pairs.empty()) {
        complain(a.error.isEmpty() ? QStringLiteral("--list takes no ROW=CHOICE") : a.error);
        return kExitUnknown;
    }
    const std::optional<RowsModel> model = load_model(a.locale);
    if (!model)
        return kExitFailed;
    say(listing(*model));
    return kExitDone;
}

int set_rows(const QStringList &args)
{
    const Arguments a = split_arguments(args);
    if (a.error.isEmpty() && a.pairs.empty()) {
        complain(QStringLiteral("--set needs at least one ROW=CHOICE"));
        return kExitUnknown;
    }
    if (!a.error.isEmpty()) {
        complain(a.error);
        return kExitUnknown;
    }
    // The switches are logged as the window logs them.
    setup_log();
    const std::optional<RowsModel> model = load_model(a.locale);
    if (!model)
        return kExitFailed;
    std::vector<Pick> picks;
    for (const QString &pair : a.pairs) {
        Pick pick;
        QString error;
        if (!resolve(*model, pair, pick, error)) {
            complain(error);
            return kExitUnknown;
        }
        picks.push_back(pick);
    }
    // The same probe that makes the window's rows refuse clicks.
    if (game_holds_archive()) {
        complain(QStringLiteral("the game is running (it holds ../Data/patch-2.mpq, or that file is missing); "
                                "nothing was changed"));
        return kExitGameRunning;
    }
    PatchStatusMap status = get_status();
    OptionRows rows(status, *model);
    rows.start();
    bool complete = true;
    for (const Pick &pick : picks) {
        // As in the window, picking what a row already shows does nothing.
        RowState *state = nullptr;
        PatchRowState *patch = nullptr;
        switch (pick.row) {
        case Pick::Row::Fonts: state = &rows.fonts; break;
        case Pick::Row::Dxvk: state = &rows.dxvk; break;
        case Pick::Row::AllPatches: state = &rows.allpatches; break;
        case Pick::Row::Patch:
            for (PatchRowState *r : rows.listed())
                if (r->row.key == pick.key)
                    patch = r;
            state = &patch->state;
            break;
        }
        if (state->shown == pick.index)
            continue;
        ChangeResult result;
        switch (pick.row) {
        case Pick::Row::Fonts: result = rows.change_fonts(pick.index); break;
        case Pick::Row::Dxvk: result = rows.change_dxvk(pick.index); break;
        case Pick::Row::AllPatches: result = rows.change_allpatches(pick.index); break;
        case Pick::Row::Patch: result = rows.change_patch(*patch, pick.index); break;
        }
        complete = complete && result.complete;
    }
    say(listing(*model));
    if (!complete)
        complain(QStringLiteral("a file could not be renamed; the list shows what the game folder holds"));
    return complete ? kExitDone : kExitFailed;
}

int check_archives(const QStringList &args)
{
    QString text;
    QTextStream out(&text);
    const int status = check_command(args, out);
    out.flush();
    say(text);
    return status;
}

}  // namespace

std::optional<int> run_command_line(int argc, char *argv[])
{
    if (argc < 2)
        return std::nullopt;
    const char *option = argv[1];
    const bool help = std::strcmp(option, "--help") == 0;
    const bool list = std::strcmp(option, "--list") == 0;
    const bool set = std::strcmp(option, "--set") == 0;
    const bool check = std::strcmp(option, "--check") == 0;
    if (!help && !list && !set && !check)
        return std::nullopt;  // a language code, or one of Qt's own options: the window
    console::attach_parent();
    // Core only: the arguments as the system gave them, no display.
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(2);
    if (help) {
        console::out(kHelp);
        return kExitDone;
    }
    if (check)
        return check_archives(QCoreApplication::arguments().mid(1));
    return list ? list_rows(args) : set_rows(args);
}

}  // namespace tess
