#include "system/native.h"

namespace tess {

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

}  // namespace

std::optional<FileId> file_id(const QString &path)
{
    struct stat st;
    if (::stat(native_name(path).constData(), &st) != 0)
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
    const NativeName native = native_name(path);
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

}  // namespace tess
