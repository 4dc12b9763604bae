#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/rows_text.h"
#include "core/session/session.h"

namespace tess::cli {

int list_command(const QStringList &args, Output &out)
{
    const Arguments a = parse_arguments(QStringLiteral("--list"), args, Pairs::Refused);
    if (!a.error.isEmpty()) {
        out.complain(a.error);
        return kExitUnknown;
    }
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
    // What the window shows once started: its start switches off every patch
    // whose conditions fail. Here that happens on a copy of the scan only.
    const PatchStatusMap onDisk = session.status();
    session.start_without_switching();
    QStringList notes;
    for (const PatchRowState *row : session.rows().listed())
        notes << (onDisk.value(row->row.key) != session.status().value(row->row.key)
                      ? QStringLiteral("the window's start switches it off")
                      : QString());
    out.say(rows_text(session, notes));
    return kExitDone;
}

}  // namespace tess::cli
