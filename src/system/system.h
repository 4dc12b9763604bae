#pragma once

// Every operating-system primitive the program uses, behind one face. The
// room's *_posix.cpp and *_win.cpp files implement it; the build compiles
// the ones of the target system.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>
#include <QtGlobal>

#include <functional>
#include <limits>
#include <optional>
#include <tuple>

namespace tess {

// ---- Paths: the one translation between the program's paths (text,
// '/'-separated) and the system's names.

// The program's own text files in the system's 8-bit encoding, every byte
// kept: on POSIX as decode_path() and encode_path() do (UTF-8, stray bytes
// kept apart), on Windows in the ANSI code page.
QString decode_local(const QByteArray &bytes);
QByteArray encode_local(const QString &text);

// POSIX names are bytes and need not be valid UTF-8 (a name copied from a
// system with another code page). Each byte that is not part of valid UTF-8
// becomes one of the lone surrogates U+DC80..U+DCFF in the text, which valid
// UTF-8 never yields, so every name comes back to its own bytes unchanged.
// Every path the program finds, and every system call it makes with one,
// goes through these two.
// Windows names are UTF-16 and never bytes: there these are plain UTF-8.
QString decode_path(const char *bytes, int size);
QByteArray encode_path(const QString &text);

// ---- Listing a folder.

struct FolderEntry {
    QString name;
    bool isDir;
    bool isLink;  // a symbolic link or a junction, whatever it leads to
};

// A folder's identity on its volume: one folder reached under two names
// (a second link to it) is the same folder.
using FolderId = std::tuple<quint64, quint64>;

struct FolderListing {
    QVector<FolderEntry> entries;  // in the file system's order, without "." and ".."
    bool identified = false;
    FolderId id{};
};

// The entries of the folder `dir` ("" is the current folder), with the
// names as they are on disk; an empty listing when it cannot be read.
FolderListing list_folder(const QString &dir);

// ---- Renaming.

enum class RenameStatus {
    Renamed,
    TargetExists,  // another entry holds the new name; nothing was changed
    Failed,        // the system refused the rename; nothing was changed
};

struct [[nodiscard]] RenameResult {
    RenameStatus status = RenameStatus::Renamed;
    int error = 0;  // the system's own error code
};

// Renames with the platform's own call and never replaces an existing
// entry: the check for the target and the rename are one system call, so
// nothing can slip in between them. Paths are as the searches give them
// (names that are not valid text keep their own bytes).
RenameResult rename_no_replace(const QString &from, const QString &to);

// ---- Removing.

// An entry a removal had to leave, and why.
struct LeftEntry {
    QString path;   // from the folder the removal started in: "cache/WDB/enUS/creaturecache.wdb"
    int error = 0;  // the system's error code
};

// What a removal did: everything it could, past what it could not.
struct [[nodiscard]] RemoveResult {
    qint64 files = 0;  // entries removed that are not folders (files, links, …)
    qint64 bytes = 0;  // the sizes of the regular files among them
    // What stays, in the order met: each entry that could not be removed (a
    // file in use, a folder that cannot be listed, a mount), never the
    // folders that stay only because they hold one of them.
    QVector<LeftEntry> left;

    bool complete() const { return left.isEmpty(); }
    RemoveResult &operator+=(const RemoveResult &other)
    {
        files += other.files;
        bytes += other.bytes;
        left += other.left;
        return *this;
    }
};

// Removes a file or a folder with everything below it, by descriptors of
// its folders (on Windows with each folder held open meanwhile), never
// through a link and never onto another volume or mount. What cannot be
// removed stays, and so does every folder above it; the rest goes. Paths
// in the result are from the folder that holds `path`.
RemoveResult remove_tree(const QString &path);

// Whether the name picks the pattern component.
using ComponentMatch = std::function<bool(QStringView component, QStringView name)>;
// Told the path of each target removed whole, from `dir`.
using Removed = std::function<void(const QString &path)>;

// Removes, with remove_tree(), what `components` pick below the folder
// `dir`: each step down is taken from the folder already reached and never
// through a link, so a folder renamed or swapped meanwhile cannot lead
// outside. Goes on past what cannot be removed; paths in the result are
// from `dir`.
RemoveResult remove_matching(const QString &dir, const QStringList &components, const ComponentMatch &matches,
                             const Removed &removed);

// ---- What tells a file unchanged without reading it: its size, its last
// change, the system's number for it (a file replaced under the same name
// and time gets a new one) and the time its inode last changed, which the
// system alone sets (a file written in place with its old time put back
// keeps the rest). A rename moves that time too on most systems.

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 id = 0;
    qint64 changedNs = 0;  // 0 where the system gives none

    bool same_but_change_time(const FileStamp &o) const
    {
        return size == o.size && modifiedNs == o.modifiedNs && id == o.id;
    }
    bool operator==(const FileStamp &o) const { return same_but_change_time(o) && changedNs == o.changedNs; }
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};

// One stat (on Windows one open for attributes, sharing everything);
// nothing when the file cannot be reached.
std::optional<FileStamp> file_stamp(const QString &path);

// ---- The running-game probe.

// Whether another process holds the file open (the platform's own test).
bool file_held_open(const QString &path);

// A file as the system knows it, whatever name or link reaches it (on
// Windows the volume's serial number and the file's index on it).
struct FileId {
    quint64 device;
    quint64 inode;
};
// The file at `path`, links followed; nothing when it cannot be reached.
std::optional<FileId> file_id(const QString &path);
// The processes other than this one that hold the file open or mapped,
// among those this process may inspect; the search stops after `atMost`.
// What file_held_open() falls back to where a lease is not permitted.
// Windows shows no process the files of another this way: always empty there.
QList<qint64> processes_holding(FileId file, int atMost = std::numeric_limits<int>::max());

// ---- Starting Windows programs.

// Whether the system runs Windows programs itself (then the game starts as
// it is, in this program's own Wine prefix when run_by_wine()).
extern const bool runs_windows_programs;

// Whether this program is a Windows program run by Wine.
bool run_by_wine();

// Tells Wine, for every run of the program named `programName` in this
// prefix, to load `dll` from beside the program before its own (the
// program's DllOverrides key). A Windows parent cannot do it through the
// child's environment: Wine gives the child its own Unix environment's
// WINEDLLOVERRIDES instead, which still wins over the key. An order the key
// already gives the DLL is the user's and stays. False when the registry
// refused, and where there is no prefix (not a Windows program).
bool prefer_native_dll(const QString &programName, const QString &dll);

// ---- Bounded reading.

struct [[nodiscard]] ReadResult {
    enum class Fault {
        None,
        Missing,     // nothing by that name
        NotRegular,  // a FIFO, device, socket or folder: never opened for reading
        TooLarge,    // more than the bound: `bytes` holds the bound's worth
        Unreadable,  // the system refused: `error` says why
        Outside,     // a link led out of the program's folder: nothing is kept (the core's rule)
    };
    QByteArray bytes;
    Fault fault = Fault::None;
    QString error;     // the system's own text, for Unreadable
    QString location;  // where the file opened lies, as real_path() gives it
};

// Reads the regular file at `path`, at most `limit` bytes, without ever
// waiting: nothing that is not a regular file is read. The path is given to
// the system by the name's own bytes (a listed name that is not UTF-8 opens).
ReadResult read_regular_file(const QString &path, qint64 limit);

// The absolute path of an entry with every link on the way resolved,
// '/'-separated; empty when it cannot be reached.
QString real_path(const QString &path);

// ---- Writing the program's own files.

struct [[nodiscard]] WriteResult {
    bool ok = true;
    int error = 0;  // the system's error code
    QString text;   // and its text
};

// Writes `bytes` to a new file in the folder of `path`, then renames it
// over `path` in one step: a link by that name is replaced, never written
// through, and a failure leaves what was there as it was.
WriteResult replace_file(const QString &path, const QByteArray &bytes);

// A regular file held open for reading where it lies, read at any place.
// Opening never waits (a FIFO or device by that name is refused, not waited
// on), and on Windows the file stays shared for reading, writing and
// deleting, so neither a rename nor the game's own opening is refused while
// it is read. The name's own bytes reach the system, as with
// read_regular_file().
class ReadOnlyFile
{
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    // None when the file is open; error() holds the system's text for Unreadable.
    ReadResult::Fault open(const QString &path);
    QString error() const { return error_; }
    // The size now; -1 when it cannot be told.
    qint64 size();
    // Up to `bytes` from `pos` on: the count read, short only at the end, or
    // -1 with error() set.
    qint64 read_at(quint64 pos, char *into, qint64 bytes);

private:
    void close();

    qintptr handle_ = -1;
    QString error_;
};

// ---- The console a command-line run talks to. A Windows GUI program has
// none of its own: it writes to the one it was started from, unless its
// output was redirected. Elsewhere these are the standard streams.
namespace console {

void attach_parent();
// False when the text could not be written whole (a full disk, a closed stream).
bool out(const QByteArray &utf8);
bool err(const QByteArray &utf8);

}  // namespace console

// ---- Facts about the platform that more than one module needs.
namespace platform {

// The line end of the system's own text files.
extern const char lineEnd[];

// Hands freed memory back to the system. glibc keeps freed heap pages for
// reuse, and start-up frees megabytes it never needs again (the picture
// decoder's buffers above all); afterwards each large block goes back as
// soon as it is freed. Nothing to do elsewhere.
void release_free_memory();

// Text drawn by Qt's own FreeType engine, as on Linux: the native Windows
// engine hints glyphs and their advances fully, so every text would come out
// wider than the same window elsewhere. Called before the application object
// exists; a platform the user chose is kept.
void use_freetype_text();

}  // namespace platform

// ---- Why a rename, removal or start failed, in words a player can act on.

enum class FailureReason {
    AccessDenied,    // no permission, or the file or folder is write-protected
    InUse,           // another program holds it
    ReadOnly,        // the disk itself is read-only
    Missing,         // nothing by that name, or a folder on the way is gone
    FolderInTheWay,  // a folder where a file should be, or the other way round
    Other,           // the system's own message says it
};

// The reason for the system's own error code, as the primitives above
// report it (errno on POSIX, GetLastError() on Windows).
FailureReason failure_reason(int error);

// The system's own message for that code, in the system's language.
QString system_message(int error);

// Whether the absolute form of `path` lies in one of the system's folders
// for installed programs (on Windows the Program Files folders, both 64-
// and 32-bit, letter case ignored), where a program may not write without
// administrator rights. Never elsewhere.
bool under_program_folders(const QString &path);

}  // namespace tess
