#include "actions/game.h"

#include "system/system.h"
#include "patches/wildcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace tess {

namespace {

// Wine's own separators in an override entry: between module names and
// between the letters of a load order. Nothing else counts as space.
bool is_override_separator(QChar c) { return c == QLatin1Char(',') || c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// ASCII letters only, as Wine compares module names.
bool same_ascii_name(QStringView a, QLatin1String b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const ushort x = a[i].unicode(), y = ushort(b[i].unicode());
        const auto lower = [](ushort c) { return ushort(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); };
        if (lower(x) != lower(y))
            return false;
    }
    return true;
}

// Whether one module name of an entry is the game's d3d9, read as Wine's
// loader reads it: a last ".dll" dropped, letter case ignored; "*d3d9" is the
// same module wherever it lies (and is looked up before "d3d9").
bool is_d3d9(QStringView name)
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0 && same_ascii_name(name.mid(dot), QLatin1String(".dll")))
        name = name.left(dot);
    return same_ascii_name(name, QLatin1String("d3d9")) || same_ascii_name(name, QLatin1String("*d3d9"));
}

// Whether an entry ("name,name=order") gives d3d9 a load order. Names end at
// the first "="; an entry without one is ignored, as Wine ignores it.
bool names_d3d9(QStringView entry)
{
    const int eq = int(entry.indexOf(QLatin1Char('=')));
    if (eq < 0)
        return false;
    const QStringView names = entry.left(eq);
    for (int start = 0; start < names.size();) {
        int end = start;
        while (end < names.size() && !is_override_separator(names[end]))
            ++end;
        if (end > start && is_d3d9(names.mid(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

QString with_native_d3d9(const QString &overrides)
{
    // Entries end at ";"; a later entry for a module replaces an earlier one,
    // so one added at the end decides, and is added only where the user's
    // value leaves d3d9 to Wine's default.
    for (const QStringView entry : QStringView(overrides).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (names_d3d9(entry))
            return overrides;
    QString native = QString::fromLatin1(native_d3d9_override);
    if (overrides.trimmed().isEmpty())
        return native;
    return overrides + (overrides.endsWith(QLatin1Char(';')) ? QString() : QStringLiteral(";")) + native;
}

namespace {

// Wine loads its own d3d9 unless told to prefer the one beside the game.
void with_dxvk_order(QProcessEnvironment &environment)
{
    const QString overrides = QStringLiteral("WINEDLLOVERRIDES");
    environment.insert(overrides, with_native_d3d9(environment.value(overrides)));
}

}  // namespace

// ---- What differs between the platforms: the probe and how a game starts.

#ifdef Q_OS_WIN

bool file_held_open(const QString &path)
{
    // The running client keeps its archives open without sharing deletion,
    // so renaming the file onto itself fails exactly while it runs.
    const std::wstring p = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
    return !MoveFileExW(p.c_str(), p.c_str(), 0);
}

namespace {

// Wine's ntdll alone exports its version; Windows' does not.
bool run_by_wine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

QList<LaunchCommand> launch_commands(const QString &gamePath, const QProcessEnvironment &environment, bool dxvkOn)
{
    // The game starts in this program's Wine prefix, with this environment.
    LaunchCommand command{gamePath, {}, environment};
    if (dxvkOn && run_by_wine())
        with_dxvk_order(command.environment);
    return {command};
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

QList<LaunchCommand> launch_commands(const QString &gamePath, const QProcessEnvironment &environment, bool dxvkOn)
{
    LaunchCommand direct{gamePath, {}, environment};
    if (dxvkOn)
        with_dxvk_order(direct.environment);
    QList<LaunchCommand> commands;
    const QFileInfo game(gamePath);
    // Execute bits alone do not make a Windows program runnable here (every
    // file on NTFS or exFAT shows them): when the system refuses it, Wine.
    if (!game.exists() || game.isExecutable())
        commands.append(direct);
    const QString wine = wine_program(environment);
    if (game.exists() && !wine.isEmpty())
        commands.append({wine, {gamePath}, direct.environment});
    if (commands.isEmpty())
        commands.append(direct);
    return commands;
}

#endif

// ---- The same everywhere.

bool start_game(const QList<LaunchCommand> &commands)
{
    for (const LaunchCommand &command : commands) {
        QProcess game;
        game.setProgram(command.program);
        game.setArguments(command.arguments);
        game.setProcessEnvironment(command.environment);
        if (game.startDetached())
            return true;
    }
    return false;
}

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
