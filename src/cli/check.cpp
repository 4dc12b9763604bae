#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "core/config/langfile.h"
#include "core/config/selection.h"
#include "core/patches/archive_check.h"
#include "core/patches/archive_texts.h"
#include "core/search/places.h"
#include "system/system.h"
#include "core/search/own_files.h"

#include <QDir>

#include <algorithm>

namespace tess::cli {

namespace {

ArchiveTexts texts_for(const QString &locale)
{
    const QString name = choose_language_file(language_candidates(places::kConfigDir), locale);
    // Never waits on a name that is not a regular file; one byte past the bound refuses it.
    const ReadResult read = read_own_file(places::kConfigDir + QLatin1Char('/') + name, kMaxLanguageFileBytes + 1);
    if (read.fault != ReadResult::Fault::None && read.fault != ReadResult::Fault::TooLarge)
        return {};
    const LanguageFile language = read_language_file(read.bytes);
    return language.error.isEmpty() ? archive_texts(language.doc) : ArchiveTexts();
}

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
    const ArchiveTexts texts = texts_for(language_code(a.locale));
    ArchiveCache cache = ArchiveCache::load();
    ArchiveReport report = check_patch_archives(ChecksumList::read(), cache);
    cache.save();
    std::sort(report.results.begin(), report.results.end(),
              [](const ArchiveResult &x, const ArchiveResult &y) { return x.path < y.path; });
    QString text;
    for (const ArchiveResult &r : report.results) {
        QString path = r.path;
        if (path.startsWith(QLatin1String("../")))
            path.remove(0, 3);
        text += QDir::toNativeSeparators(path) + QLatin1Char('\t') + QLatin1String(state_word(r.check.state))
            + QLatin1Char('\t') + describe(r.check, texts) + QLatin1Char('\n');
    }
    text += texts.summary.arg(report.results.size()).arg(report.broken()) + QLatin1Char('\n');
    out.say(text);
    return report.broken() == 0 ? kExitDone : kExitFailed;
}

}  // namespace tess::cli
