// Times the check of every patch archive: 26 archives of 1 GB each, cold
// (read from disk) and from the cache, and the rate of the checksum list's
// hashing. The archives are sparse: a header, 2000 files whose sector
// tables are written at their places, the data between them left as holes,
// and the encrypted hash and block tables at the end.
//   archive_check FOLDER   (made if needed; needs about 30 MB of real disk)
#include "core/patches/archive.h"
#include "core/patches/archive_check.h"
#include "core/patches/patches.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <ctime>
#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr quint64 kArchiveBytes = quint64(1) << 30;
constexpr quint32 kFiles = 2000;
constexpr quint32 kHashEntries = 4096;
constexpr quint32 kSectorShift = 3;  // 4096-byte sectors
constexpr quint32 kFileBytes = 64 * 1024;

void put32(std::vector<quint8> &b, size_t at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = quint8(v >> (8 * i));
}

bool make_sparse_archive(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const quint64 tables = kArchiveBytes - (kHashEntries + kFiles) * 16;
    const quint64 stride = (tables - 32) / kFiles;
    const quint32 sectors = kFileBytes >> (9 + kSectorShift);
    std::vector<quint8> header(32);
    put32(header, 0, 0x1A51504D);
    put32(header, 4, 32);
    put32(header, 8, quint32(kArchiveBytes));
    put32(header, 12, kSectorShift << 16);
    put32(header, 16, quint32(tables));
    put32(header, 20, quint32(tables + kHashEntries * 16));
    put32(header, 24, kHashEntries);
    put32(header, 28, kFiles);
    f.write(reinterpret_cast<const char *>(header.data()), 32);
    std::vector<quint8> hash(kHashEntries * 16, 0xFF), block(kFiles * 16);
    for (quint32 i = 0; i < kFiles; ++i) {
        const quint64 pos = 32 + i * stride;
        std::vector<quint8> offsets((sectors + 1) * 4);
        for (quint32 s = 0; s <= sectors; ++s)
            put32(offsets, s * 4, quint32((sectors + 1) * 4 + s * ((stride - (sectors + 1) * 4) / sectors)));
        f.seek(qint64(pos));
        f.write(reinterpret_cast<const char *>(offsets.data()), qint64(offsets.size()));
        put32(block, i * 16, quint32(pos));
        put32(block, i * 16 + 4, quint32(stride));
        put32(block, i * 16 + 8, kFileBytes);
        put32(block, i * 16 + 12, 0x80000200);
        const size_t slot = size_t(i) * 2;
        put32(hash, slot * 16, i * 7919);
        put32(hash, slot * 16 + 4, i * 104729);
        put32(hash, slot * 16 + 8, 0);
        put32(hash, slot * 16 + 12, i);
    }
    tess::archive_encrypt(hash.data(), hash.size(), tess::archive_hash("(hash table)", 3));
    tess::archive_encrypt(block.data(), block.size(), tess::archive_hash("(block table)", 3));
    f.seek(qint64(tables));
    f.write(reinterpret_cast<const char *>(hash.data()), qint64(hash.size()));
    f.write(reinterpret_cast<const char *>(block.data()), qint64(block.size()));
    return f.error() == QFile::NoError;
}

// Drops the file's pages from the system's cache, so that the next read goes to the disk.
void drop_cache(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

double thread_cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: archive_check FOLDER\n";
        return 2;
    }
    const QString root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(root + QStringLiteral("/Data"));
    QDir().mkpath(root + QStringLiteral("/launcher"));
    QDir::setCurrent(root + QStringLiteral("/launcher"));
    QStringList paths;
    for (const QString &letter : tess::ALPHABET.mid(5)) {
        const QString path = root + QStringLiteral("/Data/patch-%1.mpq").arg(letter);
        if (!QFile::exists(path) && !make_sparse_archive(path)) {
            out << "could not write " << path << '\n';
            return 1;
        }
        paths << path;
        drop_cache(path);
    }
    tess::ArchiveCache cache;
    const tess::ArchiveReport cold = tess::check_patch_archives({}, cache);
    out << "cold: " << cold.results.size() << " archives, " << cold.broken() << " not sound, " << cold.milliseconds
        << " ms\n";
    for (const tess::ArchiveResult &r : cold.results)
        if (!r.check.sound())
            out << "  " << r.path << '\n';
    cache.save(root + QStringLiteral("/archives.cache"));
    tess::ArchiveCache loaded = tess::ArchiveCache::load(root + QStringLiteral("/archives.cache"));
    QElapsedTimer timer;
    timer.start();
    const tess::ArchiveReport cached = tess::check_patch_archives({}, loaded);
    int fromCache = 0;
    for (const tess::ArchiveResult &r : cached.results)
        fromCache += r.fromCache ? 1 : 0;
    out << "cached: " << fromCache << " of " << cached.results.size() << " from the cache, "
        << timer.nsecsElapsed() / 1000 << " us\n";

    // Hashing: one sparse 1 GB file, its pages already in memory, so the figure is the hash's own.
    const QString first = paths.first();
    tess::sha256_of_file(first);
    timer.restart();
    const double cpuBefore = thread_cpu_seconds();
    const QByteArray digest = tess::sha256_of_file(first);
    const double cpu = thread_cpu_seconds() - cpuBefore;
    const qint64 ms = qMax<qint64>(1, timer.elapsed());
    out << "sha256: " << digest << "  " << (1024.0 / cpu) << " MB/s of one core's time (" << cpu << " s), "
        << (1024.0 * 1000.0 / double(ms)) << " MB/s by the clock\n";
    return 0;
}
