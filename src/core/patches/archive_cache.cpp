#include "core/patches/archive_cache.h"

#include "core/search/own_files.h"

#include <QSet>
#include <QStringList>

namespace tess {

namespace {

const QByteArray kFirstLine = QByteArrayLiteral("tessarine archive cache 2");
constexpr int kFields = 13;
constexpr int kChangeTimeField = 9;
// The first format, without the change time: its entries are read with a
// change time of 0, which no stamp of a file on a system that keeps change
// times has, so each of its archives is read afresh once.
const QByteArray kFirstLineWithoutChangeTime = QByteArrayLiteral("tessarine archive cache 1");
// No real cache comes near this: one line per patch archive.
constexpr qint64 kMaxCacheBytes = 1 << 20;

template <typename E> bool to_enum(const QByteArray &text, E last, E &out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0 || v > int(last))
        return false;
    out = E(v);
    return true;
}

}  // namespace

ArchiveCache ArchiveCache::load(const QString &path)
{
    const ReadResult read = read_own_file(path, kMaxCacheBytes);
    return read.fault == ReadResult::Fault::None ? deserialize(read.bytes) : ArchiveCache();
}

bool ArchiveCache::save(const QString &path) const { return replace_file(path, serialize()).ok; }

const CachedCheck *ArchiveCache::find(const QString &path, const FileStamp &stamp) const
{
    const auto it = entries_.constFind(path);
    if (it != entries_.constEnd())
        return it->stamp == stamp ? &*it : nullptr;
    // A switch renames a file and keeps its number, size and time: the same
    // file under its other name. The rename itself moves its change time.
    if (stamp.id == 0)
        return nullptr;
    for (const CachedCheck &e : entries_)
        if (e.stamp.same_but_change_time(stamp))
            return &e;
    return nullptr;
}

void ArchiveCache::put(const QString &path, const CachedCheck &entry) { entries_.insert(path, entry); }

void ArchiveCache::keep_only(const QStringList &paths)
{
    const QSet<QString> wanted(paths.begin(), paths.end());
    for (auto it = entries_.begin(); it != entries_.end();)
        it = wanted.contains(it.key()) ? std::next(it) : entries_.erase(it);
}

// One tab-separated line per archive; the path last, as it may hold anything but a tab or line end.
QByteArray ArchiveCache::serialize() const
{
    QByteArray out = kFirstLine + '\n';
    QStringList paths = entries_.keys();
    paths.sort();
    for (const QString &path : paths) {
        const CachedCheck &e = entries_[path];
        if (path.contains(QLatin1Char('\t')) || path.contains(QLatin1Char('\n')) || e.check.error.contains('\n'))
            continue;
        const QList<QByteArray> fields = {QByteArray::number(e.stamp.size),
                                          QByteArray::number(e.stamp.modifiedNs),
                                          QByteArray::number(e.stamp.id),
                                          QByteArray::number(int(e.check.state)),
                                          QByteArray::number(e.check.expectedBytes),
                                          QByteArray::number(e.check.actualBytes),
                                          QByteArray::number(int(e.check.part)),
                                          QByteArray::number(int(e.check.fault)),
                                          QByteArray::number(e.check.entry),
                                          QByteArray::number(e.stamp.changedNs),
                                          e.sha256.isEmpty() ? QByteArrayLiteral("-") : e.sha256,
                                          e.check.error.toUtf8().replace('\t', ' ').prepend('='),
                                          path.toUtf8()};
        out += fields.join('\t') + '\n';
    }
    return out;
}

ArchiveCache ArchiveCache::deserialize(const QByteArray &bytes)
{
    ArchiveCache cache;
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || (lines.first() != kFirstLine && lines.first() != kFirstLineWithoutChangeTime))
        return cache;
    const bool changeTimes = lines.first() == kFirstLine;
    for (int i = 1; i < lines.size(); ++i) {
        QList<QByteArray> f = lines[i].split('\t');
        if (f.size() != (changeTimes ? kFields : kFields - 1))
            continue;
        // Without the change time the fields are those of the first format.
        const QByteArray changed = changeTimes ? f.takeAt(kChangeTimeField) : QByteArrayLiteral("0");
        if (f[11].isEmpty() || !f[10].startsWith('='))
            continue;
        CachedCheck e;
        bool ok[7] = {};
        e.stamp.size = f[0].toLongLong(&ok[0]);
        e.stamp.modifiedNs = f[1].toLongLong(&ok[1]);
        e.stamp.id = f[2].toULongLong(&ok[2]);
        e.stamp.changedNs = changed.toLongLong(&ok[6]);
        e.check.expectedBytes = f[4].toULongLong(&ok[3]);
        e.check.actualBytes = f[5].toULongLong(&ok[4]);
        e.check.entry = f[8].toLongLong(&ok[5]);
        if (!(ok[0] && ok[1] && ok[2] && ok[3] && ok[4] && ok[5] && ok[6]))
            continue;
        if (!to_enum(f[3], ArchiveState::Unreadable, e.check.state)
            || !to_enum(f[6], ArchivePart::SectorTable, e.check.part)
            || !to_enum(f[7], ArchiveFault::UnknownVersion, e.check.fault))
            continue;
        if (f[9] != "-") {
            if (f[9].size() != 64)
                continue;
            e.sha256 = f[9];
        }
        e.check.error = QString::fromUtf8(f[10].mid(1));
        cache.entries_.insert(QString::fromUtf8(f[11]), e);
    }
    return cache;
}

}  // namespace tess
