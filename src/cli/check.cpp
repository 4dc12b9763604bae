#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "core/patches/archive_check.h"
#include "core/patches/archive_texts.h"
#include "core/search/places.h"
#include "core/session/session.h"

#include <QDir>

#include <algorithm>

namespace tess::cli {

namespace {

// A word for scripts, whatever the language of the reason.
const char *state_word(ArchiveState state)
{
    switch (state) {
    case ArchiveState::Sound: return "sound";
    case ArchiveState::NotArchive: return "not-an-archive";
    case ArchiveState::CutShort: return "cut-short";
    case ArchiveState::Damaged: return "damaged";
    case ArchiveState::Unreadable: return "unreadable";
    case ArchiveState::Changed: return "changed";
    }
    return "";
}

}  // namespace

int check_command(const QStringList &args, Output &out)
{
    const Arguments a = parse_arguments(QStringLiteral("--check"), args, Pairs::Refused);
    if (!a.error.isEmpty()) {
        out.complain(a.error);
        return kExitUnknown;
    }
    Session session(a.locale);
    // An unusable language file leaves the check its English texts.
    const bool languageUsable = session.load_language();
    const ArchiveTexts texts = languageUsable ? session.archive_texts() : ArchiveTexts();
    if (const std::optional<Notice> outside = session.game_folder_notice()) {
        out.complain(outside->text);
        return kExitNotGameFolder;
    }
    ArchiveCache cache = ArchiveCache::load();
    ArchiveReport report = check_patch_archives(ChecksumList::read(), cache);
    cache.save();
    std::sort(report.results.begin(), report.results.end(),
              [](const ArchiveResult &x, const ArchiveResult &y) { return x.path < y.path; });
    QString text;
    for (const ArchiveResult &r : report.results) {
        text += places::from_game_folder(r.path) + QLatin1Char('\t') + QLatin1String(state_word(r.check.state))
            + QLatin1Char('\t') + describe(r.check, texts) + QLatin1Char('\n');
    }
    text += texts.summary.arg(report.results.size()).arg(report.broken()) + QLatin1Char('\n');
    out.say(text);
    return report.broken() == 0 ? kExitDone : kExitFailed;
}

}  // namespace tess::cli
