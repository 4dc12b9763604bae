#pragma once

// The one place where a test asks which system it runs on: what differs
// between the systems, and the system calls a test makes of its own. Known
// here rather than taken from the program, so that a program wrong about its
// system shows.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <cerrno>
#include <optional>
#include <string>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#endif

#ifdef Q_OS_WIN
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

// Test functions that mean something on one system only. POSIX_ONLY_TESTS
// or WINDOWS_ONLY_TESTS on a line of its own opens a section of them, which
// ends at the next `private slots:`; on the other system they are compiled as
// plain functions and never run. moc expands them from this header (Q_SLOTS:
// it takes no `slots` from a macro), so a test file includes it, directly or
// through gamefolder.h.
#ifdef Q_OS_WIN
#define POSIX_ONLY_TESTS private:
#define WINDOWS_ONLY_TESTS private Q_SLOTS:
#else
#define POSIX_ONLY_TESTS private Q_SLOTS:
#define WINDOWS_ONLY_TESTS private:
#endif

// A symbolic link at `link` to `target`. QFile::link makes a shell shortcut
// on Windows, which the system does not follow; this makes a real link.
inline bool make_symlink(const QString &target, const QString &link)
{
#ifdef Q_OS_WIN
    // 0x2: SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE (developer mode).
    const DWORD flags = (QFileInfo(target).isDir() ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2;
    const auto native = [](const QString &p) {
        return reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(p).utf16());
    };
    // Wine reports success and makes nothing: only a reparse point counts.
    const DWORD attributes = CreateSymbolicLinkW(native(link), native(target), flags) ? GetFileAttributesW(native(link))
                                                                                      : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    return QFile::link(target, link);
#endif
}

// A second name `link` for the file `target`.
inline bool make_hard_link(const QString &target, const QString &link)
{
#ifdef Q_OS_WIN
    return CreateHardLinkW(QDir::toNativeSeparators(link).toStdWString().c_str(),
                           QDir::toNativeSeparators(target).toStdWString().c_str(), nullptr);
#else
    return ::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
#endif
}

// ---- Names as raw bytes, for names that are not valid UTF-8. Windows names
// are UTF-16, never bytes: there nothing is made or found, and the tests
// that need such names do not get this far.

// The folder `path`, its parent there already; true when it exists afterwards.
inline bool make_native_folder(const QByteArray &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path)
    return false;
#else
    return ::mkdir(path.constData(), 0755) == 0 || errno == EEXIST;
#endif
}

// An empty file at `path`, its folder there already.
inline bool make_native_file(const QByteArray &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path)
    return false;
#else
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && ::close(fd) == 0;
#endif
}

// Whether anything, a dangling link too, has the name `path`.
inline bool native_exists(const QByteArray &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path)
    return false;
#else
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
#endif
}

// `depth` folders named `folder`, one inside the next, below the new folder
// `top`, with the file `file` at the bottom. Made by descriptor: the path may
// pass the system's limit.
inline bool make_nested(const QByteArray &top, const QByteArray &folder, int depth, const QByteArray &file)
{
#ifdef Q_OS_WIN
    Q_UNUSED(top)
    Q_UNUSED(folder)
    Q_UNUSED(depth)
    Q_UNUSED(file)
    return false;
#else
    if (::mkdir(top.constData(), 0755) != 0)
        return false;
    int fd = ::open(top.constData(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; fd >= 0 && i < depth; ++i) {
        const int next = ::mkdirat(fd, folder.constData(), 0755) == 0
            ? ::openat(fd, folder.constData(), O_RDONLY | O_DIRECTORY)
            : -1;
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        return false;
    const int f = ::openat(fd, file.constData(), O_WRONLY | O_CREAT, 0644);
    ::close(fd);
    return f >= 0 && ::close(f) == 0;
#endif
}

// ---- FIFOs and signals. Windows has neither: there no FIFO is made and no
// signal sent, and the tests that need them do not run.

inline bool make_fifo(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path)
    return false;
#else
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#endif
}

// The FIFO at `path` opened for writing, without waiting, for the life of
// the guard: a reader waiting in its open goes on.
class FifoWriter
{
public:
    explicit FifoWriter(const QString &path)
    {
#ifdef Q_OS_WIN
        Q_UNUSED(path)
#else
        fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
#endif
    }
    ~FifoWriter()
    {
#ifndef Q_OS_WIN
        if (fd_ >= 0)
            ::close(fd_);
#endif
    }
    FifoWriter(const FifoWriter &) = delete;
    FifoWriter &operator=(const FifoWriter &) = delete;

private:
    int fd_ = -1;
};

// Sends this process the signal with which the kernel breaks a file lease.
inline void send_lease_break_signal()
{
#ifndef Q_OS_WIN
    ::kill(::getpid(), SIGIO);
#endif
}

// ---- Mounts (Linux). Elsewhere none is made.

// A mount of this process's own, undone when the guard goes: a bind mount
// of the folder `source`, or a RAM disk (tmpfs) where `source` is empty. The
// process gets a mount namespace of its own first, so nothing shows outside it.
class Mount
{
public:
    Mount(const QString &source, const QString &at) : at_(QFile::encodeName(at))
    {
#ifdef Q_OS_LINUX
        static const bool own =
            ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const bool bind = !source.isEmpty();
        ok_ = own
            && ::mount(bind ? QFile::encodeName(source).constData() : "none", at_.constData(), bind ? nullptr : "tmpfs",
                       bind ? MS_BIND : 0, nullptr)
                == 0;
#else
        Q_UNUSED(source)
#endif
    }
    ~Mount()
    {
#ifdef Q_OS_LINUX
        if (ok_)
            ::umount2(at_.constData(), MNT_DETACH);
#endif
    }
    Mount(const Mount &) = delete;
    Mount &operator=(const Mount &) = delete;
    bool ok() const { return ok_; }

private:
    QByteArray at_;
    bool ok_ = false;
};

// ---- For the tests of the Windows program. Elsewhere there is no Wine
// within and no registry: nothing is found, written or removed.

// Whether this Windows program runs under Wine: Wine's ntdll alone exports
// its version.
inline bool running_under_wine()
{
#ifdef Q_OS_WIN
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

// This user's registry key `key` (below HKEY_CURRENT_USER) removed with
// everything below it.
inline bool remove_user_key(const QString &key)
{
#ifdef Q_OS_WIN
    return RegDeleteTreeW(HKEY_CURRENT_USER, key.toStdWString().c_str()) == ERROR_SUCCESS;
#else
    Q_UNUSED(key)
    return false;
#endif
}

// The text value `name` of this user's key `key`, written (the key made
// when missing) or read.
inline bool set_user_text(const QString &key, const QString &name, const QString &value)
{
#ifdef Q_OS_WIN
    const std::wstring text = value.toStdWString();
    return RegSetKeyValueW(HKEY_CURRENT_USER, key.toStdWString().c_str(), name.toStdWString().c_str(), REG_SZ,
                           text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)))
        == ERROR_SUCCESS;
#else
    Q_UNUSED(key)
    Q_UNUSED(name)
    Q_UNUSED(value)
    return false;
#endif
}
inline std::optional<QString> user_text(const QString &key, const QString &name)
{
#ifdef Q_OS_WIN
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.toStdWString().c_str(), name.toStdWString().c_str(), RRF_RT_REG_SZ, nullptr,
                     value, &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    return QString::fromWCharArray(value);
#else
    Q_UNUSED(key)
    Q_UNUSED(name)
    return std::nullopt;
#endif
}
