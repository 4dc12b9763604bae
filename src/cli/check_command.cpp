#include "cli/check_command.h"

#include "system/system.h"
#include "core/config/langfile.h"
#include "core/config/selection.h"
#include "core/patches/archive_check.h"
#include "core/patches/archive_texts.h"
#include "core/search/own_files.h"

#include <QDir>
#include <QLocale>
#include <QTextStream>

#include <algorithm>

namespace tess {

namespace {

const QString kConfigDir = QStringLiteral(".config");

ArchiveTexts texts_for(const QString &locale)
{
    const QString name = choose_language_file(language_candidates(kConfigDir), locale);
    // Never waits on a name that is not a regular file; one byte past the bound refuses it.
    const ReadResult read = read_own_file(kConfigDir + QLatin1Char('/') + name, kMaxLanguageFileBytes + 1);
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

int check_command(const QStringList &args, QTextStream &out)
{
    const QString locale = args.size() > 1 ? args.at(1) : QLocale::system().name().toLower();
    const ArchiveTexts texts = texts_for(locale);
    ArchiveCache cache = ArchiveCache::load();
    ArchiveReport report = check_patch_archives(ChecksumList::read(), cache);
    cache.save();
    std::sort(report.results.begin(), report.results.end(),
              [](const ArchiveResult &x, const ArchiveResult &y) { return x.path < y.path; });
    for (const ArchiveResult &r : report.results) {
        QString path = r.path;
        if (path.startsWith(QLatin1String("../")))
            path.remove(0, 3);
        out << QDir::toNativeSeparators(path) << '\t' << state_word(r.check.state) << '\t' << describe(r.check, texts)
            << '\n';
    }
    out << texts.summary.arg(report.results.size()).arg(report.broken()) << '\n';
    out.flush();
    return report.broken() == 0 ? 0 : 1;
}

}  // namespace tess
