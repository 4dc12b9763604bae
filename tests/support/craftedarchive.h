#pragma once

#include "core/patches/archive.h"

#include <QByteArray>

namespace crafted {

// A format-1 archive of `data` bytes after its 32-byte header, then `files`
// block entries and one hash entry naming the list file. `write` fills the
// data and the block entries through `put` (offsets into the archive); the
// frame is written and the tables encrypted around it.
constexpr quint32 kHeaderBytes = 32;
template <typename Write> QByteArray archive(quint32 data, quint32 files, Write write)
{
    const quint32 blockAt = kHeaderBytes + data;
    const quint32 hashAt = blockAt + files * 16;
    const quint32 size = hashAt + 16;
    QByteArray bytes(int(size), '\0');
    // Written through the array, not a pointer: the compiler's bounds check
    // cannot follow a pointer into a buffer sized at run time.
    const auto put = [&bytes](quint32 at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes[int(at) + i] = char(quint8(v >> (8 * i)));
    };
    put(0, 0x1A51504D);
    put(4, kHeaderBytes);
    put(8, size);
    put(12, 0);  // format 1, sectors of 512 bytes
    put(16, hashAt);
    put(20, blockAt);
    put(24, 1);
    put(28, files);
    write(put, blockAt);
    put(hashAt, tess::archive_hash("(listfile)", 1));
    put(hashAt + 4, tess::archive_hash("(listfile)", 2));
    auto *at = reinterpret_cast<quint8 *>(bytes.data());
    tess::archive_encrypt(at + blockAt, quint64(files) * 16, tess::archive_hash("(block table)", 3));
    tess::archive_encrypt(at + hashAt, 16, tess::archive_hash("(hash table)", 3));
    return bytes;
}

}  // namespace crafted

// An archive as a hostile server could craft it: `files` block entries that
// all point at the data of one file split into `sectors` sectors, so that
// every entry shares one sector table of (sectors + 1) * 4 bytes. Every
// field is consistent, so the archive is sound; a reader that reads the
// shared table once per entry reads it `files` times. The entry `short_`,
// if any, claims less data than the table's last offset: that one is damage.
inline QByteArray shared_sector_table_archive(quint32 files, quint32 sectors, quint32 short_ = ~0u)
{
    const quint32 table = (sectors + 1) * 4;
    const quint32 packed = table + sectors;  // one byte of data per sector
    return crafted::archive(packed, files, [&](const auto &put, quint32 blockAt) {
        for (quint32 s = 0; s <= sectors; ++s)
            put(crafted::kHeaderBytes + 4 * s, table + s);
        for (quint32 f = 0; f < files; ++f) {
            const quint32 e = blockAt + 16 * f;
            put(e, crafted::kHeaderBytes);
            put(e + 4, f == short_ ? table : packed);
            put(e + 8, sectors * 512);
            put(e + 12, 0x80000200);  // exists, compressed
        }
    });
}

// Sector tables that overlap without sharing a start: the entry f starts f
// words into one rising run of offsets, so each sees a table of its own,
// one entry longer than the last. Sound again; a reader that reads each
// table whole reads the run about `files` / 2 times.
inline QByteArray staircase_sector_tables_archive(quint32 files, quint32 firstEntries)
{
    const quint32 words = 2 * files + firstEntries;
    const quint32 data = 12 * files + 8 * firstEntries;  // every entry's data ends inside it
    return crafted::archive(data, files, [&](const auto &put, quint32 blockAt) {
        for (quint32 s = 0; s < words; ++s)
            put(crafted::kHeaderBytes + 4 * s, 4 * (firstEntries + s));
        for (quint32 f = 0; f < files; ++f) {
            const quint32 entries = firstEntries + f;
            const quint32 e = blockAt + 16 * f;
            put(e, crafted::kHeaderBytes + 4 * f);
            put(e + 4, 4 * (2 * entries - 1));  // up to its last offset
            put(e + 8, (entries - 1) * 512);
            put(e + 12, 0x80000200);
        }
    });
}
