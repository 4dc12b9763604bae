#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/rows_text.h"
#include "core/session/session.h"
#include "log/log.h"

namespace tess::cli {

namespace {

bool same(const QString &a, const QString &b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

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

// One ROW=CHOICE, resolved on the model.
struct Pick {
    enum class Row { Patch, Fonts, Dxvk, AllPatches } row = Row::Patch;
    QString key;   // the patch letter
    QString name;  // as the player wrote it
    int index = -1;
};

// A row by patch letter, by title or by its fixed name; false with a message.
bool resolve(const RowsModel &model, const QString &pair, Pick &pick, QString &error)
{
    const int eq = int(pair.indexOf(QLatin1Char('=')));
    const QString row = pair.left(eq).trimmed();
    const QString choice = pair.mid(eq + 1);
    pick.name = row;
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

const RowState &shown(const Session &session, const Pick &pick)
{
    const OptionRows &rows = session.rows();
    switch (pick.row) {
    case Pick::Row::Fonts: return rows.fonts;
    case Pick::Row::Dxvk: return rows.dxvk;
    case Pick::Row::AllPatches: return rows.allpatches;
    case Pick::Row::Patch: break;
    }
    for (const PatchRowState *r : rows.listed())
        if (r->row.key == pick.key)
            return r->state;
    static const RowState none;
    return none;
}

// Makes the picks in order as the window makes them; false when any left
// the disk short of it. As in the window, picking what a row shows does
// nothing, and a row its conditions switched off takes no pick: `refused`
// names the first such row.
bool make_picks(Session &session, const std::vector<Pick> &picks, const Pick **refused)
{
    bool complete = true;
    for (const Pick &pick : picks) {
        const RowState &state = shown(session, pick);
        if (!state.enabled) {
            *refused = &pick;
            return complete;
        }
        if (state.shown == pick.index)
            continue;
        ChangeResult result;
        switch (pick.row) {
        case Pick::Row::Fonts: result = session.change_fonts(pick.index); break;
        case Pick::Row::Dxvk: result = session.change_dxvk(pick.index); break;
        case Pick::Row::AllPatches: result = session.change_allpatches(pick.index); break;
        case Pick::Row::Patch: result = session.change_patch(pick.key, pick.index); break;
        }
        complete = complete && result.complete;
    }
    return complete;
}

// Resolves the picks on the model and makes them on a copy of the scan, so
// that a pick the window would refuse is refused before anything is renamed;
// nothing of it is logged. Outside a game folder or with an unusable language
// file it leaves the saying to the session that logs.
int try_picks(const Arguments &a, std::vector<Pick> &picks, Output &out)
{
    Session trial(a.locale);
    if (!trial.load_language() || !trial.in_game_folder())
        return kExitDone;
    for (const QString &pair : a.pairs) {
        Pick pick;
        QString error;
        if (!resolve(trial.model(), pair, pick, error)) {
            out.complain(error);
            return kExitUnknown;
        }
        picks.push_back(pick);
    }
    trial.start_without_switching();
    const Pick *refused = nullptr;
    (void)make_picks(trial, picks, &refused);
    if (!refused)
        return kExitDone;
    out.complain(
        QStringLiteral("row '%1' is switched off: %2; nothing was changed")
            .arg(refused->name, shown(trial, *refused).toolTip.split(QLatin1Char('\n')).join(QStringLiteral("; "))));
    return kExitUnknown;
}

}  // namespace

int set_command(const QStringList &args, Output &out)
{
    const Arguments a = parse_arguments(QStringLiteral("--set"), args, Pairs::Taken);
    if (a.error.isEmpty() && a.pairs.empty()) {
        out.complain(QStringLiteral("--set needs at least one ROW=CHOICE"));
        return kExitUnknown;
    }
    if (!a.error.isEmpty()) {
        out.complain(a.error);
        return kExitUnknown;
    }
    std::vector<Pick> picks;
    if (const int status = try_picks(a, picks, out); status != kExitDone)
        return status;
    // The switches are logged as the window logs them.
    setup_log();
    Session session(a.locale);
    const bool usable = session.load_language();
    if (const std::optional<Notice> outside = session.game_folder_notice()) {
        out.complain(outside->text);
        return kExitNotGameFolder;
    }
    if (!usable) {
        out.complain(QStringLiteral("cannot use %1: %2").arg(session.language_file(), session.language_error()));
        return kExitFailed;
    }
    // The same probe that makes the window's rows refuse clicks.
    if (session.game_running()) {
        out.complain(QStringLiteral("the game is running (it holds ../Data/patch-2.mpq, or that file is missing); "
                                    "nothing was changed"));
        return kExitGameRunning;
    }
    // What a rename could not do is said as the window says it.
    QObject::connect(&session, &Session::noticed, [&out](const Notice &notice) {
        for (const QString &line : notice.text.split(QLatin1Char('\n')))
            out.complain(line);
    });
    session.start_patch_rows();
    session.start_fixed_rows();
    const Pick *refused = nullptr;
    const bool complete = make_picks(session, picks, &refused);
    out.say(rows_text(session));
    if (!complete)
        out.complain(QStringLiteral("a file could not be renamed; the list shows what the game folder holds"));
    return complete ? kExitDone : kExitFailed;
}

}  // namespace tess::cli
