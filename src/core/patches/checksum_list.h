#pragma once

#include "core/search/places.h"
#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>

// The optional list of the archives a server ships, in sha256sum's own
// format: "<64 hex digits>  Data/patch-a.mpq", paths from the game folder.
namespace tess {

inline const QString &kChecksumListFile = places::kChecksumList;

// The name a listed path and a found path are matched by: '/' separators,
// lower case, without "./" or "../" in front and without ".disabled", so
// either name of a switched file matches.
QString checksum_key(const QString &path);

class ChecksumList
{
public:
    // Lines that are not "<hex>  <path>" (or "<hex> *<path>") are skipped;
    // a missing file, or one that is no regular file or too large to be a
    // list, is an empty list.
    static ChecksumList read(const QString &path = kChecksumListFile);
    static ChecksumList parse(const QByteArray &text);

    // The lower-case hex digest listed for a path, or empty.
    QByteArray find(const QString &path) const { return sums_.value(checksum_key(path)); }
    int size() const { return int(sums_.size()); }

private:
    QHash<QString, QByteArray> sums_;
};

// SHA-256 of a regular file as lower-case hex; empty when it could not be
// read to its end (`error` says why) or `keepGoing`, asked before every
// read, said stop (`stopped` says so). The file is held open as
// system/system.h's ReadOnlyFile holds it: a switch or the game may rename
// or open it meanwhile.
QByteArray sha256_of_file(const QString &path, const std::function<bool()> &keepGoing = {}, QString *error = nullptr,
                          bool *stopped = nullptr);

}  // namespace tess
