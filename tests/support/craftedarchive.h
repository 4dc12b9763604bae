#pragma once

#include "core/patches/archive.h"

#include <QByteArray>

// An archive as a hostile server could craft it: `files` block entries that
// all point at the data of one file split into `sectors` sectors, so that
// every entry shares one sector table of (sectors + 1) * 4 bytes. Every
// field is consistent, so the archive is sound; a reader that reads the
// shared table once per entry reads it `files` times. The entry `short_`,
// if any, claims less data than the table's last offset: that one is damage.
inline QByteArray shared_sector_table_archive(quint32 files, quint32 sectors, quint32 short_ = ~0u)
{
    constexpr quint32 kHeaderBytes = 32;
    const quint32 table = (sectors + 1) * 4;
    const quint32 packed = table + sectors;  // one byte of data per sector
    const quint32 blockAt = kHeaderBytes + packed;
    const quint32 hashAt = blockAt + files * 16;
    const quint32 archive = hashAt + 16;

    QByteArray bytes(int(archive), '\0');
    auto *at = reinterpret_cast<quint8 *>(bytes.data());
    // Written through the array, not the pointer: the compiler's bounds
    // check cannot follow a pointer into a buffer sized at run time.
    const auto put = [&bytes, at](const quint8 *p, quint32 v) {
        const int offset = int(p - at);
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = char(quint8(v >> (8 * i)));
    };
    put(at, 0x1A51504D);
    put(at + 4, kHeaderBytes);
    put(at + 8, archive);
    put(at + 12, 0);  // format 1, sectors of 512 bytes
    put(at + 16, hashAt);
    put(at + 20, blockAt);
    put(at + 24, 1);
    put(at + 28, files);
    for (quint32 s = 0; s <= sectors; ++s)
        put(at + kHeaderBytes + 4 * s, table + s);
    for (quint32 f = 0; f < files; ++f) {
        quint8 *e = at + blockAt + 16 * f;
        put(e, kHeaderBytes);
        put(e + 4, f == short_ ? table : packed);
        put(e + 8, sectors * 512);
        put(e + 12, 0x80000200);  // exists, compressed
    }
    quint8 *h = at + hashAt;
    put(h, tess::archive_hash("(listfile)", 1));
    put(h + 4, tess::archive_hash("(listfile)", 2));
    put(h + 8, 0);
    put(h + 12, 0);
    tess::archive_encrypt(at + blockAt, quint64(files) * 16, tess::archive_hash("(block table)", 3));
    tess::archive_encrypt(h, 16, tess::archive_hash("(hash table)", 3));
    return bytes;
}

// Sector tables that overlap without sharing a start: the entry f starts f
// words into one rising run of offsets, so each sees a table of its own,
// one entry longer than the last. Sound again; a reader that reads each
// table whole reads the run about `files` / 2 times.
inline QByteArray staircase_sector_tables_archive(quint32 files, quint32 firstEntries)
{
    constexpr quint32 kHeaderBytes = 32;
    const quint32 words = 2 * files + firstEntries;
    const quint32 data = 12 * files + 8 * firstEntries;  // every entry's data ends inside it
    const quint32 blockAt = kHeaderBytes + data;
    const quint32 hashAt = blockAt + files * 16;
    const quint32 archive = hashAt + 16;

    QByteArray bytes(int(archive), '\0');
    auto *at = reinterpret_cast<quint8 *>(bytes.data());
    // Written through the array, not the pointer: the compiler's bounds
    // check cannot follow a pointer into a buffer sized at run time.
    const auto put = [&bytes, at](const quint8 *p, quint32 v) {
        const int offset = int(p - at);
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = char(quint8(v >> (8 * i)));
    };
    put(at, 0x1A51504D);
    put(at + 4, kHeaderBytes);
    put(at + 8, archive);
    put(at + 12, 0);
    put(at + 16, hashAt);
    put(at + 20, blockAt);
    put(at + 24, 1);
    put(at + 28, files);
    for (quint32 s = 0; s < words; ++s)
        put(at + kHeaderBytes + 4 * s, 4 * (firstEntries + s));
    for (quint32 f = 0; f < files; ++f) {
        const quint32 entries = firstEntries + f;
        quint8 *e = at + blockAt + 16 * f;
        put(e, kHeaderBytes + 4 * f);
        put(e + 4, 4 * (2 * entries - 1));  // up to its last offset
        put(e + 8, (entries - 1) * 512);
        put(e + 12, 0x80000200);
    }
    quint8 *h = at + hashAt;
    put(h, tess::archive_hash("(listfile)", 1));
    put(h + 4, tess::archive_hash("(listfile)", 2));
    tess::archive_encrypt(at + blockAt, quint64(files) * 16, tess::archive_hash("(block table)", 3));
    tess::archive_encrypt(h, 16, tess::archive_hash("(hash table)", 3));
    return bytes;
}
