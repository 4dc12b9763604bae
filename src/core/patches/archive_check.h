#pragma once

#include "core/patches/archive.h"
#include "core/patches/archive_cache.h"
#include "core/patches/checksum_list.h"

#include <QString>

#include <functional>
#include <vector>

// The check of every patch archive the rows manage, as the window's
// background check and `--check` run it.
namespace tess {

struct ArchiveResult {
    QString letter;
    QString path;  // from the launcher's folder, as found
    ArchiveCheck check;
    bool fromCache = false;
};

struct ArchiveReport {
    std::vector<ArchiveResult> results;
    qint64 milliseconds = 0;
    bool finished = true;  // false: stopped by `keepGoing` before the last archive
    int broken() const;
};

// Checks each archive of patch_archives(): from `cache` where its stamp is
// unchanged, else by reading its header and tables, and by hashing it when
// `list` names it. `cache` is updated in memory; the caller saves it.
// `keepGoing` is asked before every read, of the tables and of a hash
// alike; it may block (while the game runs) and returns false to stop.
ArchiveReport check_patch_archives(const ChecksumList &list, ArchiveCache &cache, const KeepGoing &keepGoing = {});

// The same for files named directly, each with the letter "".
ArchiveReport check_archive_files(const QStringList &paths, const ChecksumList &list, ArchiveCache &cache,
                                  const KeepGoing &keepGoing = {});

}  // namespace tess
