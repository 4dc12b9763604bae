#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class QIODevice;

// A check of one game archive that reads only its header and its tables:
// enough to tell a whole archive from one that was cut short, blanked by a
// download that pre-allocated it, or is no archive at all.
namespace tess {

enum class ArchiveState {
    Sound,
    NotArchive,  // no header where the game looks for one
    CutShort,    // the archive says it ends at expectedBytes; the file has actualBytes
    Damaged,     // part and fault say what
    Unreadable,  // error holds the system's text
    Changed,     // not the file the checksum list names
};

// The part of an archive found at fault.
enum class ArchivePart { Header, HashTable, BlockTable, HighBlockTable, ExtendedTable, File, SectorTable };

enum class ArchiveFault {
    None,
    Outside,         // lies outside the archive
    Blank,           // holds only zero bytes
    BadIndex,        // points to no file
    BadFlags,        // impossible flags
    BadSize,         // impossible sizes
    NotAscending,    // a sector table whose offsets do not rise
    UnknownVersion,  // a header of a format version the game does not read
};

struct ArchiveCheck {
    ArchiveState state = ArchiveState::Sound;
    quint64 expectedBytes = 0;
    quint64 actualBytes = 0;
    ArchivePart part = ArchivePart::Header;
    ArchiveFault fault = ArchiveFault::None;
    qint64 entry = -1;  // the table entry or file number at fault, -1 for none
    QString error;
    bool stopped = false;  // `keepGoing` said stop before a verdict: state says nothing

    bool sound() const { return state == ArchiveState::Sound; }
};

// The game looks for a header at every 512-byte step; a header further in
// than this is no patch archive, so a large file of another kind is not read
// through to its end.
inline constexpr quint64 kHeaderStep = 512;
inline constexpr quint64 kMaxHeaderSearch = quint64(256) << 20;
// More entries than this in a table is a damaged count, not a real archive
// (the game's own archives hold well under a million files).
inline constexpr quint32 kMaxTableEntries = 1u << 22;

// Asked between two reads; false stops the check.
using KeepGoing = std::function<bool()>;

// The device is read from its start to its size(); nothing is written. No
// part of it is read twice over, so however its tables are crafted the
// check reads little more than the archive's own size.
ArchiveCheck check_archive(QIODevice &device, const KeepGoing &keepGoing = {});
// Only a regular file is read (anything else is no archive), and it is held
// open as system/system.h's ReadOnlyFile holds it.
ArchiveCheck check_archive(const QString &path, const KeepGoing &keepGoing = {});

// The format's hash of a name (for the table keys), and its encryption of
// whole 32-bit words in place; exposed for tests and tools that make archives.
quint32 archive_hash(const char *name, quint32 type);
void archive_encrypt(quint8 *data, quint64 bytes, quint32 key);

}  // namespace tess
