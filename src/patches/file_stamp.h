#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tess {

// What tells a file unchanged without reading it: its size, its last
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

}  // namespace tess
