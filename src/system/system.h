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

struct [[nodiscard]] RemoveResult {
    bool ok = true;
    QString failedPath;  // where the removal stopped
    int error = 0;       // the system's error code there
};

// Removes a file or a folder with everything below it, by descriptors of
// its folders (on Windows with each folder held open meanwhile), never
// through a link and never onto another volume or mount.
RemoveResult remove_tree(const QString &path);

// Whether the name picks the pattern component.
using ComponentMatch = std::function<bool(QStringView component, QStringView name)>;
// Told the path of each removed entry.
using Removed = std::function<void(const QString &path)>;

// Removes, with remove_tree(), what `components` pick below the folder
// `dir`: each step down is taken from the folder already reached and never
// through a link, so a folder renamed or swapped meanwhile cannot lead
// outside. The first failure ends it.
RemoveResult remove_matching(const QString &dir, const QStringList &components, const ComponentMatch &matches,
                             const Removed &removed);

// ---- What tells a file unchanged without reading it: its size, its last
// change and the system's number for it (a file replaced under the same
// name and time gets a new one).

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 id = 0;

    bool operator==(const FileStamp &o) const { return size == o.size && modifiedNs == o.modifiedNs && id == o.id; }
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
    };
    QByteArray bytes;
    Fault fault = Fault::None;
    QString error;  // the system's own text, for Unreadable
};

// Reads the regular file at `path`, at most `limit` bytes, without ever
// waiting: nothing that is not a regular file is read. The path is given to
// the system by the name's own bytes (a listed name that is not UTF-8 opens).
ReadResult read_regular_file(const QString &path, qint64 limit);

// ---- The console a command-line run talks to. A Windows GUI program has
// none of its own: it writes to the one it was started from, unless its
// output was redirected. Elsewhere these are the standard streams.
namespace console {

void attach_parent();
void out(const QByteArray &utf8);
void err(const QByteArray &utf8);

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

}  // namespace tess
