#include "actions/game.h"

#include "app/system.h"
#include "patches/wildcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tess {

namespace {

// Whether an entry of Wine's DLL override list ("name,name=mode") names d3d9,
// compared as Wine compares: letter case, spaces, a leading "*" and a ".dll"
// ending ignored. An entry without "=" is ignored by Wine, so here too.
bool names_d3d9(const QString &entry)
{
    const int eq = entry.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    const QStringList names = entry.left(eq).split(QLatin1Char(','));
    for (QString name : names) {
        name = name.trimmed();
        if (name.startsWith(QLatin1Char('*')))
            name.remove(0, 1);
        if (name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
            name.chop(4);
        if (name.compare(QLatin1String("d3d9"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}  // namespace

QString with_native_d3d9(const QString &overrides)
{
    const QStringList entries = overrides.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &entry : entries)
        if (names_d3d9(entry))
            return overrides;
    QString native = QStringLiteral("d3d9=n,b");
    if (overrides.trimmed().isEmpty())
        return native;
    return overrides + (overrides.endsWith(QLatin1Char(';')) ? QString() : QStringLiteral(";")) + native;
}

// ---- What differs between the platforms: the probe and how a game starts.

#ifdef Q_OS_WIN

bool file_held_open(const QString &path)
{
    // The running client keeps its archives open without sharing deletion,
    // so renaming the file onto itself fails exactly while it runs.
    const std::wstring p = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
    return !MoveFileExW(p.c_str(), p.c_str(), 0);
}

LaunchCommand launch_command(const QString &gamePath, const QProcessEnvironment &environment, bool dxvkOn)
{
    Q_UNUSED(dxvkOn)
    return {gamePath, {}, environment};
}

#else

namespace {

bool same_file(const struct stat &st, FileId file) { return st.st_dev == file.device && st.st_ino == file.inode; }

// Every mapping of a process, one a line: "address perms offset major:minor
// inode path". Read to the end: the file reports a size of 0.
bool maps_file(int mapsFd, FileId file)
{
    if (mapsFd < 0)
        return false;
    QByteArray text;
    char buffer[16384];
    ssize_t n;
    while ((n = ::read(mapsFd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            text.append(buffer, static_cast<int>(n));
    ::close(mapsFd);
    for (const QByteArray &line : text.split('\n')) {
        unsigned major = 0, minor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(line.constData(), "%*s %*s %*s %x:%x %llu", &major, &minor, &inode) == 3 && inode == file.inode
            && makedev(major, minor) == file.device)
            return true;
    }
    return false;
}

// One process's open descriptors, then its mappings.
bool process_holds(int procFd, long pid, FileId file)
{
    char path[64];
    std::snprintf(path, sizeof path, "%ld/fd", pid);
    const int fdDir = ::openat(procFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (DIR *fds = fdDir >= 0 ? ::fdopendir(fdDir) : nullptr) {
        bool found = false;
        while (const dirent *entry = ::readdir(fds)) {
            struct stat st;
            if (entry->d_name[0] != '.' && ::fstatat(::dirfd(fds), entry->d_name, &st, 0) == 0 && same_file(st, file)) {
                found = true;
                break;
            }
        }
        ::closedir(fds);
        if (found)
            return true;
    } else if (fdDir >= 0) {
        ::close(fdDir);
    }
    std::snprintf(path, sizeof path, "%ld/maps", pid);
    return maps_file(::openat(procFd, path, O_RDONLY | O_CLOEXEC), file);
}

#ifdef Q_OS_LINUX
// While the probe holds its lease, an open of the file by any other process
// makes the kernel send SIGIO, whose default action ends the launcher. The
// lease is given back at once, so the signal needs no action. A handler
// rather than SIG_IGN: an ignored signal would stay ignored in the game the
// launcher starts. A handler somebody else installed is left alone.
void survive_lease_breaks()
{
    static const bool done = [] {
        struct sigaction current {
        };
        if (::sigaction(SIGIO, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0
            || current.sa_handler != SIG_DFL)
            return false;
        struct sigaction quiet {
        };
        quiet.sa_handler = [](int) {};
        sigemptyset(&quiet.sa_mask);
        quiet.sa_flags = SA_RESTART;
        return ::sigaction(SIGIO, &quiet, nullptr) == 0;
    }();
    Q_UNUSED(done)
}
#endif

// The `wine` to run a Windows program with: WINE as Wine's own tools honour
// it (a bare name is looked up on PATH), else `wine` on PATH; empty if none.
QString wine_program(const QProcessEnvironment &environment)
{
    const QStringList path = environment.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QString chosen = environment.value(QStringLiteral("WINE"));
    if (!chosen.isEmpty())
        return chosen.contains(QLatin1Char('/')) ? chosen : QStandardPaths::findExecutable(chosen, path);
    return QStandardPaths::findExecutable(QStringLiteral("wine"), path);
}

}  // namespace

std::optional<FileId> file_id(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

QList<qint64> processes_holding(FileId file, int atMost)
{
    QList<qint64> found;
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return found;
    const pid_t self = ::getpid();
    while (found.size() < atMost) {
        const dirent *entry = ::readdir(proc);
        if (!entry)
            break;
        char *end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (*end == '\0' && pid > 0 && pid != self && process_holds(::dirfd(proc), pid, file))
            found.append(pid);
    }
    ::closedir(proc);
    return found;
}

bool file_held_open(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking, or a FIFO by this name would wait for a writer for ever.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 ? ::fstat(fd, &st) != 0 : ::stat(native.constData(), &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        return true;
    }
#ifdef Q_OS_LINUX
    // A write lease is refused with EAGAIN while any other descriptor is
    // open on the file. It needs ownership or CAP_LEASE; without them the
    // scan below serves.
    if (fd >= 0) {
        survive_lease_breaks();
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
#else
    if (fd >= 0)
        ::close(fd);
#endif
    return !processes_holding({st.st_dev, st.st_ino}, 1).isEmpty();
}

LaunchCommand launch_command(const QString &gamePath, const QProcessEnvironment &environment, bool dxvkOn)
{
    LaunchCommand command{gamePath, {}, environment};
    // Wine loads its own d3d9 unless told to prefer the one beside the game.
    const QString overrides = QStringLiteral("WINEDLLOVERRIDES");
    if (dxvkOn)
        command.environment.insert(overrides, with_native_d3d9(environment.value(overrides)));
    // A Windows executable that the system cannot run itself goes through Wine.
    const QFileInfo game(gamePath);
    if (game.exists() && !game.isExecutable()) {
        const QString wine = wine_program(environment);
        if (!wine.isEmpty()) {
            command.program = wine;
            command.arguments = QStringList{gamePath};
        }
    }
    return command;
}

#endif

// ---- The same everywhere.

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

bool dxvk_on() { return !glob(QStringLiteral("../d3d9.dll")).isEmpty(); }

QString community_invitation()
{
    static const char *const pieces[] = {"htt", "ps://", "disc", "ord.gg", "/tess", "arine"};
    QString address;
    for (const char *piece : pieces)
        address += QLatin1String(piece);
    return address;
}

}  // namespace tess
