#include "system/native.h"

#include <QDir>

namespace tess {

namespace {

void leave(RemoveResult &out, const QString &path, int code) { out.left.push_back({path, code}); }

enum class Node { Missing, Link, Folder, File };

// The long-path form lifts the 260-character limit of the classic calls;
// it takes a whole absolute path, and a share's as \\?\UNC\server\share.
NativeName native_path(const QString &path)
{
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const bool share = absolute.startsWith(QStringLiteral("//"));
    return native_name(share ? QStringLiteral("//?/UNC/") + absolute.mid(2) : QStringLiteral("//?/") + absolute);
}

Node node_at(const QString &path, qint64 *size = nullptr)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(native_path(path).c_str(), GetFileExInfoStandard, &data))
        return Node::Missing;
    const DWORD attrs = data.dwFileAttributes;
    if (size)
        *size = (qint64(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // Symbolic links and junctions are both reparse points: never entered.
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT)
        return Node::Link;
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? Node::Folder : Node::File;
}

int remove_entry(const QString &path, Node node)
{
    const NativeName name = native_path(path);
    const wchar_t *native = name.c_str();
    const DWORD attrs = GetFileAttributesW(native);
    const bool dir = attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
    const BOOL ok =
        (node == Node::Folder || (node == Node::Link && dir)) ? RemoveDirectoryW(native) : DeleteFileW(native);
    return ok ? 0 : int(GetLastError());
}

// A folder held open without delete sharing: while held, neither it nor a
// folder above it can be renamed or removed by anyone, so its path keeps
// leading to it. Opened as itself, never through a link or junction.
class HeldFolder
{
public:
    explicit HeldFolder(const QString &path)
        : handle_(CreateFileW(native_path(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                              nullptr))
    {
        BY_HANDLE_FILE_INFORMATION info;
        if (handle_ == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle_, &info)) {
            error_ = int(GetLastError());
            return;
        }
        folder_ = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        volume_ = info.dwVolumeSerialNumber;
        index_ = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    // Whether `path` still leads to this folder. Where the system lets a held
    // folder (or one above it) be renamed all the same, a swap is seen here
    // before anything is removed through the path.
    bool still_at(const QString &path) const
    {
        const HeldFolder now(path);
        return now.error_ == 0 && now.volume_ == volume_ && now.index_ == index_;
    }
    ~HeldFolder() { release(); }
    HeldFolder(const HeldFolder &) = delete;
    HeldFolder &operator=(const HeldFolder &) = delete;
    void release()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    int error() const { return error_; }     // 0 once held
    bool folder() const { return folder_; }  // a real folder, not a link
    DWORD volume() const { return volume_; }

private:
    HANDLE handle_;
    int error_ = 0;
    bool folder_ = false;
    DWORD volume_ = 0;
    quint64 index_ = 0;
};

// The folder's path led elsewhere: the walk ends rather than follow it.
constexpr int kSwapped = ERROR_FILE_INVALID;

QStringList entries_of(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
}

// Names are UTF-16 and exact in a QString; Qt lists long paths itself.
// Each folder is held while its entries go, and let go just before its own
// removal; one on another volume is not entered. `shown` is the path as the
// result gives it, from where the removal started. Whether the entry is gone.
bool remove_entry_only(const QString &path, const QString &shown, Node node, qint64 size, RemoveResult &out)
{
    const int code = remove_entry(path, node);
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return true;
    if (code != 0) {
        leave(out, shown, code);  // in use, protected: it stays
        return false;
    }
    ++out.files;
    if (node == Node::File)
        out.bytes += size;
    return true;
}

bool remove_tree(const QString &path, const QString &shown, DWORD volume, RemoveResult &out)
{
    qint64 size = 0;
    const Node node = node_at(path, &size);
    if (node == Node::Missing)
        return true;
    if (node != Node::Folder)
        return remove_entry_only(path, shown, node, size, out);
    HeldFolder held(path);
    if (held.error() != 0) {
        leave(out, shown, held.error());
        return false;
    }
    if (!held.folder()) {
        // Swapped for a link since it was looked at: removed as one.
        held.release();
        return remove_entry_only(path, shown, Node::Link, 0, out);
    }
    if (held.volume() != volume) {
        leave(out, shown, ERROR_NOT_SAME_DEVICE);
        return false;
    }
    bool holdsLeft = false;
    for (const QString &name : entries_of(path)) {
        if (!held.still_at(path)) {
            // The way to the rest is lost: it stays rather than be reached by another way.
            leave(out, shown, kSwapped);
            return false;
        }
        if (!remove_tree(path + QLatin1Char('/') + name, shown + QLatin1Char('/') + name, volume, out))
            holdsLeft = true;
    }
    if (holdsLeft)
        return false;
    held.release();
    const int code = remove_entry(path, Node::Folder);
    if (code != 0 && code != ERROR_FILE_NOT_FOUND) {
        leave(out, shown, code);
        return false;
    }
    return true;
}

QString joined(const QString &dir, const QString &name) { return dir.isEmpty() ? name : dir + QLatin1Char('/') + name; }

// Removes what components[i..] pick below the folder `dir` (`shown` from
// where the removal started), held meanwhile; a link on the way is not taken.
void remove_below(const QString &dir, const QString &shown, const QStringList &components, int i, DWORD volume,
                  const ComponentMatch &matches, const Removed &removed, RemoveResult &out)
{
    const HeldFolder held(dir);
    if (held.error() != 0) {
        leave(out, shown.isEmpty() ? QStringLiteral(".") : shown, held.error());
        return;
    }
    if (!held.folder())
        return;
    const bool last = i == components.size() - 1;
    for (const QString &name : entries_of(dir)) {
        if (!matches(components.at(i), name))
            continue;
        if (!held.still_at(dir)) {
            leave(out, shown.isEmpty() ? QStringLiteral(".") : shown, kSwapped);
            return;
        }
        const QString path = dir + QLatin1Char('/') + name;
        if (!last) {
            if (node_at(path) == Node::Folder)
                remove_below(path, joined(shown, name), components, i + 1, volume, matches, removed, out);
            continue;
        }
        if (remove_tree(path, joined(shown, name), volume, out) && removed)
            removed(joined(shown, name));
    }
}

}  // namespace

RemoveResult remove_tree(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const HeldFolder above(slash < 0 ? QStringLiteral(".") : path.left(slash + 1));
    RemoveResult out;
    static_cast<void>(remove_tree(path, path.mid(slash + 1), above.volume(), out));
    return out;
}

RemoveResult remove_matching(const QString &dir, const QStringList &components, const ComponentMatch &matches,
                             const Removed &removed)
{
    RemoveResult out;
    const HeldFolder held(dir);
    if (held.error() == ERROR_FILE_NOT_FOUND || held.error() == ERROR_PATH_NOT_FOUND)
        return out;
    if (held.error() != 0) {
        leave(out, QStringLiteral("."), held.error());
        return out;
    }
    remove_below(dir, QString(), components, 0, held.volume(), matches, removed, out);
    return out;
}

}  // namespace tess
