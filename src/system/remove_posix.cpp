#include "system/native.h"

#include <vector>

namespace tess {

namespace {

// Everything below the target is reached through descriptors of its
// folders and removed by each name's own bytes: no path is ever built, so
// neither PATH_MAX nor a name that is not valid text can stop the removal,
// and O_NOFOLLOW keeps every step inside the tree.

void leave(RemoveResult &out, const QString &path, int code) { out.left.push_back({path, code}); }

QString joined(const QString &dir, const QString &name) { return dir.isEmpty() ? name : dir + QLatin1Char('/') + name; }

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// The file system and mount the removal stays on: nothing below may lie on
// another (a RAM disk or a shared folder mounted inside the cache), as
// `rm --one-file-system` does. Bind mounts of the same file system share a
// device, so the mount id decides where the system gives it.
struct Volume {
    dev_t device = 0;
    quint64 mount = 0;
    bool hasMount = false;
};

bool volume_of(int fd, const struct stat &st, Volume &volume)
{
    volume = {st.st_dev, 0, false};
#ifdef STATX_MNT_ID
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &sx) == 0 && (sx.stx_mask & STATX_MNT_ID)) {
        volume.mount = sx.stx_mnt_id;
        volume.hasMount = true;
    }
#else
    Q_UNUSED(fd)
#endif
    return true;
}

bool volume_of(int fd, Volume &volume)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 && volume_of(fd, st, volume);
}

bool same_volume(const Volume &a, const Volume &b)
{
    return a.device == b.device && (!a.hasMount || !b.hasMount || a.mount == b.mount);
}

// One folder of the walk, listed whole before anything in it is removed.
struct Level {
    QByteArray name;  // in the folder above
    dev_t device;
    ino_t inode;
    std::vector<QByteArray> entries;
    size_t next = 0;
    bool holdsLeft = false;  // something below stays, so the folder does too
};

// The names in the folder `fd`, read through a descriptor of its own so
// that `fd` stays for the removals; a negative error code on failure.
int list_names(int fd, std::vector<QByteArray> &names)
{
    const int listed = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    DIR *d = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!d) {
        const int code = errno;
        if (listed >= 0)
            ::close(listed);
        return -code;
    }
    int code = 0;
    for (;;) {
        errno = 0;
        const dirent *e = ::readdir(d);
        if (!e) {
            code = errno;
            break;
        }
        const char *n = e->d_name;
        if (!(n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))))
            names.emplace_back(n);
    }
    ::closedir(d);
    return -code;
}

// Opens the folder `name` inside `at` without following a link, on the
// removal's own volume.
int open_folder(int at, const QByteArray &name, const Volume &volume, struct stat &st)
{
    const int fd = ::openat(at, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    Volume here;
    if (::fstat(fd, &st) != 0 || !volume_of(fd, st, here)) {
        const int code = errno;
        ::close(fd);
        return -code;
    }
    if (!same_volume(here, volume)) {
        ::close(fd);
        return -EXDEV;
    }
    return fd;
}

// Opens the folder `name` inside `at` as open_folder() does, and lists it.
int open_level(int at, const QByteArray &name, const Volume &volume, Level &level)
{
    struct stat st;
    const int fd = open_folder(at, name, volume, st);
    if (fd < 0)
        return fd;
    level = {name, st.st_dev, st.st_ino, {}, 0, false};
    const int code = list_names(fd, level.entries);
    if (code < 0) {
        ::close(fd);
        return code;
    }
    return fd;
}

// The folder above the current one, checked to be the one the walk came
// from: a folder moved away meanwhile ends the removal instead of leading
// it elsewhere.
int open_parent(int fd, const Level &parent)
{
    const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (up < 0)
        return -errno;
    struct stat st;
    if (::fstat(up, &st) != 0 || st.st_dev != parent.device || st.st_ino != parent.inode) {
        ::close(up);
        return -ESTALE;
    }
    return up;
}

// The path of `name` in the folder the walk is in, as text for the result.
QString path_of(const QString &target, const std::vector<Level> &levels, const QByteArray &name)
{
    QString path = target;
    for (size_t i = 1; i < levels.size(); ++i)
        path += QLatin1Char('/') + decode_path(levels[i].name.constData(), levels[i].name.size());
    return path + QLatin1Char('/') + decode_path(name.constData(), name.size());
}

// Removes the entry `name`, not a folder, of the folder `at`: whether it is gone.
bool remove_file(int at, const QByteArray &name, const struct stat &st, const QString &path, RemoveResult &out)
{
    if (::unlinkat(at, name.constData(), 0) != 0) {
        if (errno == ENOENT)
            return true;
        leave(out, path, errno);  // in use, protected: it stays
        return false;
    }
    ++out.files;
    if (S_ISREG(st.st_mode))
        out.bytes += st.st_size;
    return true;
}

// Removes the entry `name` of the folder `at`; a folder is walked one level
// at a time with a single descriptor open, however deep it goes. What cannot
// be removed stays with the folders above it, and the walk goes on; whether
// the entry is gone.
bool remove_tree_at(int at, const QByteArray &name, const QString &target, const Volume &volume, RemoveResult &out)
{
    struct stat st;
    if (::fstatat(at, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return true;
        leave(out, target, errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode))
        return remove_file(at, name, st, target, out);
    std::vector<Level> levels(1);
    Descriptor fd(open_level(at, name, volume, levels.back()));
    if (fd.get() < 0) {
        leave(out, target, -fd.get());
        return false;
    }
    while (!levels.empty()) {
        Level &level = levels.back();
        if (level.next < level.entries.size()) {
            const QByteArray &entry = level.entries[level.next++];
            if (::fstatat(fd.get(), entry.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) {
                    leave(out, path_of(target, levels, entry), errno);
                    level.holdsLeft = true;
                }
                continue;
            }
            if (!S_ISDIR(st.st_mode)) {
                if (!remove_file(fd.get(), entry, st, path_of(target, levels, entry), out))
                    level.holdsLeft = true;
                continue;
            }
            Level below;
            const int child = open_level(fd.get(), entry, volume, below);
            if (child < 0) {
                // Another mount, or a folder that cannot be listed: it stays whole.
                leave(out, path_of(target, levels, entry), -child);
                level.holdsLeft = true;
                continue;
            }
            fd.reset(child);
            levels.push_back(std::move(below));
            continue;
        }
        // The folder is done: remove it from the folder above, unless it
        // keeps something that stays.
        const Level done = std::move(level);
        levels.pop_back();
        const QString donePath = levels.empty() ? target : path_of(target, levels, done.name);
        const int up = levels.empty() ? ::fcntl(at, F_DUPFD_CLOEXEC, 0) : open_parent(fd.get(), levels.back());
        if (up < 0) {
            // Moved away meanwhile: the way back is lost, and the rest of
            // this tree stays rather than be reached by another way.
            leave(out, donePath, levels.empty() ? errno : -up);
            return false;
        }
        fd.reset(up);
        bool gone = !done.holdsLeft;
        if (gone && ::unlinkat(fd.get(), done.name.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT) {
            leave(out, donePath, errno);
            gone = false;
        }
        if (!gone) {
            if (levels.empty())
                return false;
            levels.back().holdsLeft = true;
        }
    }
    return true;
}

// Removes what components[i..] pick in the folder `at` (`dir` from where
// the removal started). Every step goes from a descriptor already held and
// never through a link, so a folder renamed or swapped for a link meanwhile
// cannot lead outside.
void remove_below(int at, const QString &dir, const QStringList &components, int i, const Volume &volume,
                  const ComponentMatch &matches, const Removed &removed, RemoveResult &out)
{
    std::vector<QByteArray> names;
    const int listed = list_names(at, names);
    if (listed < 0) {
        leave(out, dir.isEmpty() ? QStringLiteral(".") : dir, -listed);
        return;
    }
    const bool last = i == components.size() - 1;
    for (const QByteArray &name : names) {
        const QString text = decode_path(name.constData(), name.size());
        if (!matches(components.at(i), text))
            continue;
        const QString path = joined(dir, text);
        if (last) {
            if (remove_tree_at(at, name, path, volume, out) && removed)
                removed(path);
            continue;
        }
        struct stat st;
        const Descriptor below(open_folder(at, name, volume, st));
        // A file, a link or an entry gone meanwhile is not on the way.
        if (below.get() == -ENOENT || below.get() == -ENOTDIR || below.get() == -ELOOP)
            continue;
        if (below.get() < 0) {
            leave(out, path, -below.get());
            continue;
        }
        remove_below(below.get(), path, components, i + 1, volume, matches, removed, out);
    }
}

}  // namespace

RemoveResult remove_tree(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
    const QString name = path.mid(slash + 1);
    RemoveResult out;
    const Descriptor at(::open(native_name(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    Volume volume;
    if (at.get() < 0 || !volume_of(at.get(), volume)) {
        if (errno != ENOENT)
            leave(out, name, errno);
        return out;
    }
    static_cast<void>(remove_tree_at(at.get(), native_name(name), name, volume, out));
    return out;
}

RemoveResult remove_matching(const QString &dir, const QStringList &components, const ComponentMatch &matches,
                             const Removed &removed)
{
    RemoveResult out;
    const Descriptor folder(::open(native_name(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    Volume volume;
    if (folder.get() < 0 || !volume_of(folder.get(), volume)) {
        if (errno != ENOENT)
            leave(out, QStringLiteral("."), errno);
        return out;
    }
    remove_below(folder.get(), QString(), components, 0, volume, matches, removed, out);
    return out;
}

}  // namespace tess
