#include "system/native.h"

#include <QDir>

namespace tess {

namespace {

RemoveResult failure(const QString &path, int code) { return {false, path, code}; }

enum class Node { Missing, Link, Folder, File };

// The long-path form lifts the 260-character limit of the classic calls;
// it takes a whole absolute path, and a share's as \\?\UNC\server\share.
NativeName native_path(const QString &path)
{
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const bool share = absolute.startsWith(QStringLiteral("//"));
    return native_name(share ? QStringLiteral("//?/UNC/") + absolute.mid(2) : QStringLiteral("//?/") + absolute);
}

Node node_at(const QString &path)
{
    const DWORD attrs = GetFileAttributesW(native_path(path).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return Node::Missing;
    // Symbolic links and junctions are both reparse points: never entered.
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT)
        return Node::Link;
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? Node::Folder : Node::File;
}

bool denied(int code) { return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION; }

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
// removal; one on another volume is not entered.
RemoveResult remove_entry_only(const QString &path, Node node)
{
    const int code = remove_entry(path, node);
    // A locked or protected file stays; its folder's removal reports it.
    return code != 0 && !denied(code) ? failure(path, code) : RemoveResult{};
}

RemoveResult remove_tree(const QString &path, DWORD volume)
{
    const Node node = node_at(path);
    if (node == Node::Missing)
        return {};
    if (node != Node::Folder)
        return remove_entry_only(path, node);
    HeldFolder held(path);
    if (held.error() != 0)
        return failure(path, held.error());
    if (!held.folder()) {
        // Swapped for a link since it was looked at: removed as one.
        held.release();
        return remove_entry_only(path, Node::Link);
    }
    if (held.volume() != volume)
        return failure(path, ERROR_NOT_SAME_DEVICE);
    for (const QString &name : entries_of(path)) {
        if (!held.still_at(path))
            return failure(path, kSwapped);
        RemoveResult r = remove_tree(path + QLatin1Char('/') + name, volume);
        if (!r.ok)
            return r;
    }
    held.release();
    const int code = remove_entry(path, Node::Folder);
    return code == 0 ? RemoveResult{} : failure(path, code);
}

// Removes what components[i..] pick below the folder `dir`, held meanwhile;
// a link on the way is not taken.
RemoveResult remove_below(const QString &dir, const QStringList &components, int i, DWORD volume,
                          const ComponentMatch &matches, const Removed &removed)
{
    const HeldFolder held(dir);
    if (held.error() != 0)
        return failure(dir, held.error());
    if (!held.folder())
        return {};
    const bool last = i == components.size() - 1;
    for (const QString &name : entries_of(dir)) {
        if (!matches(components.at(i), name))
            continue;
        if (!held.still_at(dir))
            return failure(dir, kSwapped);
        const QString path = dir + QLatin1Char('/') + name;
        if (!last) {
            if (node_at(path) != Node::Folder)
                continue;
            RemoveResult r = remove_below(path, components, i + 1, volume, matches, removed);
            if (!r.ok)
                return r;
            continue;
        }
        RemoveResult r = remove_tree(path, volume);
        if (!r.ok)
            return r;
        if (removed)
            removed(path);
    }
    return {};
}

}  // namespace

RemoveResult remove_tree(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const HeldFolder above(slash < 0 ? QStringLiteral(".") : path.left(slash + 1));
    return remove_tree(path, above.volume());
}

RemoveResult remove_matching(const QString &dir, const QStringList &components, const ComponentMatch &matches,
                             const Removed &removed)
{
    const HeldFolder held(dir);
    if (held.error() != 0)
        return failure(dir, held.error());
    return remove_below(dir, components, 0, held.volume(), matches, removed);
}

}  // namespace tess
