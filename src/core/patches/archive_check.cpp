#include "core/patches/archive_check.h"

#include "core/patches/patches.h"

#include <QElapsedTimer>

#include <algorithm>

namespace tess {

namespace {

ArchiveCheck unreadable(const QString &error)
{
    ArchiveCheck check;
    check.state = ArchiveState::Unreadable;
    check.error = error;
    return check;
}

ArchiveResult check_one(const QString &letter, const QString &path, const ChecksumList &list, ArchiveCache &cache,
                        const KeepGoing &keepGoing, bool &stopped)
{
    ArchiveResult result{letter, path, {}, false};
    const std::optional<FileStamp> stamp = file_stamp(path);
    if (!stamp) {
        result.check = unreadable(QStringLiteral("no such file"));
        return result;
    }
    const QByteArray listed = list.find(path);
    CachedCheck entry;
    const CachedCheck *cached = cache.find(path, *stamp);
    if (cached && (listed.isEmpty() || !cached->sha256.isEmpty() || !cached->check.sound())) {
        entry = *cached;
        result.fromCache = true;
        // Kept under the name it has now, with the change time the rename gave it.
        entry.stamp = *stamp;
        cache.put(path, entry);
    } else {
        entry.stamp = *stamp;
        entry.check = check_archive(path, keepGoing);
        stopped = entry.check.stopped;
        if (entry.check.sound() && !listed.isEmpty()) {
            QString error;
            entry.sha256 = sha256_of_file(path, keepGoing, &error, &stopped);
            if (entry.sha256.isEmpty())
                entry.check = unreadable(error);
        }
        if (stopped)
            return result;
        // A file that changed while it was read is checked afresh next time.
        const std::optional<FileStamp> after = file_stamp(path);
        if (after && *after == *stamp && entry.check.state != ArchiveState::Unreadable)
            cache.put(path, entry);
    }
    result.check = entry.check;
    if (result.check.sound() && !listed.isEmpty() && entry.sha256 != listed)
        result.check.state = ArchiveState::Changed;
    return result;
}

}  // namespace

int ArchiveReport::broken() const
{
    return int(std::count_if(results.begin(), results.end(), [](const ArchiveResult &r) { return !r.check.sound(); }));
}

ArchiveReport check_archive_files(const QStringList &paths, const ChecksumList &list, ArchiveCache &cache,
                                  const KeepGoing &keepGoing)
{
    QElapsedTimer timer;
    timer.start();
    ArchiveReport report;
    for (const QString &path : paths) {
        if (keepGoing && !keepGoing()) {
            report.finished = false;
            break;
        }
        bool stopped = false;
        ArchiveResult r = check_one(QString(), path, list, cache, keepGoing, stopped);
        if (stopped) {
            report.finished = false;
            break;
        }
        report.results.push_back(std::move(r));
    }
    report.milliseconds = timer.elapsed();
    return report;
}

ArchiveReport check_patch_archives(const ChecksumList &list, ArchiveCache &cache, const KeepGoing &keepGoing)
{
    QElapsedTimer timer;
    timer.start();
    const std::vector<PatchArchive> archives = patch_archives();
    QStringList paths;
    for (const PatchArchive &a : archives)
        paths << a.path;
    ArchiveReport report = check_archive_files(paths, list, cache, keepGoing);
    for (size_t i = 0; i < report.results.size(); ++i)
        report.results[i].letter = archives[i].letter;
    if (report.finished)
        cache.keep_only(paths);
    report.milliseconds = timer.elapsed();
    return report;
}

}  // namespace tess
