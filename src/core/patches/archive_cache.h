#pragma once

#include "core/search/places.h"
#include "core/patches/archive.h"
#include "system/system.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// What earlier checks found, by path and stamp, so that an unchanged
// archive is never read twice, also after a switch renamed it.
namespace tess {

inline const QString &kArchiveCacheFile = places::kArchiveCache;

struct CachedCheck {
    FileStamp stamp;
    ArchiveCheck check;  // never Changed: that depends on the list of the day
    QByteArray sha256;   // lower-case hex, empty when the file was not hashed
};

class ArchiveCache
{
public:
    // A missing, unreadable or oversized cache, or one that is no regular
    // file, is empty; a line that does not read back as an entry is dropped.
    static ArchiveCache load(const QString &path = kArchiveCacheFile);
    // Atomically; false when the file could not be written.
    bool save(const QString &path = kArchiveCacheFile) const;

    // The entry for `path` when its stamp is still `stamp`; for a path
    // with no entry, one with the very same stamp under another name.
    const CachedCheck *find(const QString &path, const FileStamp &stamp) const;
    void put(const QString &path, const CachedCheck &entry);
    // Drops every entry whose path is not among `paths`.
    void keep_only(const QStringList &paths);
    int size() const { return int(entries_.size()); }

    QByteArray serialize() const;
    static ArchiveCache deserialize(const QByteArray &bytes);

private:
    QHash<QString, CachedCheck> entries_;
};

}  // namespace tess
