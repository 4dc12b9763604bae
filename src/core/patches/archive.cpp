#include "core/patches/archive.h"

#include "system/system.h"

#include <QIODevice>

#include <array>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

namespace tess {

namespace {

constexpr quint32 kHeaderMagic = 0x1A51504D;    // "MPQ\x1A"
constexpr quint32 kUserDataMagic = 0x1B51504D;  // "MPQ\x1B"
constexpr quint32 kEmptyEntry = 0xFFFFFFFF;
constexpr quint32 kDeletedEntry = 0xFFFFFFFE;
constexpr quint64 kEntryBytes = 16;
// The header's size for format versions 1 to 4.
constexpr std::array<quint64, 4> kHeaderBytes = {32, 44, 68, 208};
constexpr quint64 kUserDataBytes = 16;
// Sectors are 512 << shift bytes; a shift past this makes sectors larger than any archive.
constexpr quint32 kMaxSectorShift = 23;
constexpr quint64 kSearchChunk = quint64(64) * 1024;
// No format places a file or a table past 48 bits, and no file takes more
// than 4 GB: a larger archive is a damaged size, not one to wait for.
constexpr quint64 kMaxArchiveBytes = (quint64(1) << 48) + (quint64(1) << 32);
constexpr quint64 kWrap = quint64(1) << 32;

// Block flags.
constexpr quint32 kImplode = 0x00000100;
constexpr quint32 kCompress = 0x00000200;
constexpr quint32 kEncrypted = 0x00010000;
constexpr quint32 kFixKey = 0x00020000;
constexpr quint32 kPatchFile = 0x00100000;
constexpr quint32 kSingleUnit = 0x01000000;
constexpr quint32 kDeleteMarker = 0x02000000;
constexpr quint32 kSectorCrc = 0x04000000;
constexpr quint32 kExists = 0x80000000;
constexpr quint32 kKnownFlags =
    kImplode | kCompress | kEncrypted | kFixKey | kPatchFile | kSingleUnit | kDeleteMarker | kSectorCrc | kExists;

constexpr std::array<quint32, 0x500> make_crypt_table()
{
    std::array<quint32, 0x500> table{};
    quint32 seed = 0x00100001;
    for (quint32 i = 0; i < 0x100; ++i) {
        for (quint32 j = 0, index = i; j < 5; ++j, index += 0x100) {
            seed = (seed * 125 + 3) % 0x2AAAAB;
            const quint32 high = (seed & 0xFFFF) << 16;
            seed = (seed * 125 + 3) % 0x2AAAAB;
            table[index] = high | (seed & 0xFFFF);
        }
    }
    return table;
}
constexpr std::array<quint32, 0x500> kCryptTable = make_crypt_table();

// Decrypts whole little-endian 32-bit words in place.
void decrypt(quint8 *data, quint64 bytes, quint32 key)
{
    quint32 seed = 0xEEEEEEEE;
    for (quint64 i = 0; i + 4 <= bytes; i += 4) {
        seed += kCryptTable[0x400 + (key & 0xFF)];
        const quint32 word =
            quint32(data[i]) | quint32(data[i + 1]) << 8 | quint32(data[i + 2]) << 16 | quint32(data[i + 3]) << 24;
        const quint32 plain = word ^ (key + seed);
        key = ((~key << 21) + 0x11111111) | (key >> 11);
        seed = plain + seed + (seed << 5) + 3;
        data[i] = quint8(plain);
        data[i + 1] = quint8(plain >> 8);
        data[i + 2] = quint8(plain >> 16);
        data[i + 3] = quint8(plain >> 24);
    }
}

quint32 u32(const quint8 *p) { return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24; }
quint16 u16(const quint8 *p) { return quint16(p[0] | p[1] << 8); }
quint64 u64(const quint8 *p) { return quint64(u32(p)) | quint64(u32(p + 4)) << 32; }

// a + b, held at the largest value instead of wrapping.
quint64 add(quint64 a, quint64 b) { return a > ~quint64(0) - b ? ~quint64(0) : a + b; }

bool all_zero(const std::vector<quint8> &bytes)
{
    for (quint8 b : bytes)
        if (b != 0)
            return false;
    return true;
}

struct Block {
    quint64 pos = 0;  // from the header
    quint32 packed = 0;
    quint32 size = 0;
    quint32 flags = 0;
};

// A table as the header places it: from the header, its bytes on disk, and
// whether those are the plain encrypted entries (compressed ones are only placed).
struct Extent {
    quint64 pos = 0;
    quint64 bytes = 0;
    bool plain = true;
};

// The size of a format-2 archive, whose 32-bit size cannot hold one past
// 4 GB. Its tables, at its end as a rule, still say how far it reaches: it
// is the least size with the low 32 bits given that holds them, whatever the
// file's own size, so that an archive cut short is found so. Tables that end
// below 4 GB say nothing of a larger file's size (`available` from the
// header on): it is taken at that size.
quint64 size_past_4_gb(quint64 archive, std::initializer_list<Extent> tables, quint64 available)
{
    quint64 ends = 0;
    for (const Extent &e : tables)
        if (e.bytes != 0)
            ends = qMax(ends, add(e.pos, e.bytes));
    if (ends >= kWrap && ends > archive && ends <= kMaxArchiveBytes)
        archive += (ends - archive + kWrap - 1) / kWrap * kWrap;
    if (available >= kWrap && available > archive)
        archive = available;
    return archive;
}

// Where the reader's bytes come from: a device, or a file held open in place.
class Source
{
public:
    virtual ~Source() = default;
    virtual quint64 size() = 0;
    // Exactly `bytes` from `pos`, or false.
    virtual bool read_at(quint64 pos, quint8 *into, quint64 bytes) = 0;
    virtual QString error() const = 0;
};

class DeviceSource : public Source
{
public:
    explicit DeviceSource(QIODevice &device) : device_(device) {}
    quint64 size() override { return quint64(qMax<qint64>(device_.size(), 0)); }
    bool read_at(quint64 pos, quint8 *into, quint64 bytes) override
    {
        if (!device_.seek(qint64(pos)))
            return false;
        return device_.read(reinterpret_cast<char *>(into), qint64(bytes)) == qint64(bytes);
    }
    QString error() const override { return device_.errorString(); }

private:
    QIODevice &device_;
};

class FileSource : public Source
{
public:
    explicit FileSource(ReadOnlyFile &file) : file_(file) {}
    quint64 size() override { return quint64(qMax<qint64>(file_.size(), 0)); }
    bool read_at(quint64 pos, quint8 *into, quint64 bytes) override
    {
        const qint64 got = file_.read_at(pos, reinterpret_cast<char *>(into), qint64(bytes));
        if (got >= 0 && got < qint64(bytes))
            short_ = true;
        return got == qint64(bytes);
    }
    QString error() const override
    {
        return short_ ? QStringLiteral("the file became shorter while it was read") : file_.error();
    }

private:
    ReadOnlyFile &file_;
    bool short_ = false;
};

// What one sector table held, for every file that shares it.
struct SectorTable {
    quint32 first = 0;       // the first offset: the table's own size
    bool blank = false;      // all zero bytes
    quint64 rising = 0;      // how many offsets rise from the start
    quint32 lastRising = 0;  // the last of those
};

class Reader
{
public:
    Reader(Source &source, const KeepGoing &keepGoing) : source_(source), keepGoing_(keepGoing), size_(source.size()) {}

    ArchiveCheck run();

private:
    // What the header says: where the tables lie and how far the archive
    // reaches. The newer formats' own tables, the one of hashes (HET) and
    // the one of blocks (BET), are placed only, in either order in the file.
    struct Layout {
        quint64 archive = 0;
        Extent hash;
        Extent block;
        Extent high;
        Extent het;
        Extent bet;
        quint32 blockCount = 0;
    };

    bool read_at(quint64 pos, quint8 *into, quint64 bytes);
    bool stop() const { return keepGoing_ && !keepGoing_(); }
    ArchiveCheck unreadable() const;
    static ArchiveCheck stopped();
    static ArchiveCheck damaged(ArchivePart part, ArchiveFault fault, qint64 entry = -1);
    ArchiveCheck cut_short(quint64 expected) const;
    // Finds the header; false with check set when the search itself fails.
    bool find_header(quint64 &header, ArchiveCheck &check);
    // Reads the header at `header`; a check that is not sound when it
    // cannot be believed.
    ArchiveCheck read_layout(quint64 header, Layout &layout);
    // Whether every table lies inside the archive, and the archive inside the file.
    ArchiveCheck check_places(quint64 header, const Layout &layout) const;
    ArchiveCheck read_table(quint64 header, const Extent &table, ArchivePart part, const char *key,
                            std::vector<quint8> &bytes);
    ArchiveCheck check_packed(quint64 header, const Extent &table, ArchivePart part);
    ArchiveCheck check_blocks(quint64 header, const Extent &table, const Extent &high, quint32 count, quint64 archive);
    ArchiveCheck check_hashes(quint64 header, const Extent &table, quint32 count);
    ArchiveCheck check_sectors(quint64 header, quint64 archive);

    Source &source_;
    const KeepGoing &keepGoing_;
    quint64 size_;
    quint64 sectorBytes_ = 0;
    std::vector<Block> blocks_;
    bool blocksKnown_ = false;
    bool stopped_ = false;
};

bool Reader::read_at(quint64 pos, quint8 *into, quint64 bytes)
{
    if (stop()) {
        stopped_ = true;
        return false;
    }
    return source_.read_at(pos, into, bytes);
}

ArchiveCheck Reader::unreadable() const
{
    if (stopped_)
        return stopped();
    ArchiveCheck check;
    check.state = ArchiveState::Unreadable;
    check.error = source_.error();
    return check;
}

ArchiveCheck Reader::stopped()
{
    ArchiveCheck check;
    check.state = ArchiveState::Unreadable;
    check.stopped = true;
    return check;
}

ArchiveCheck Reader::damaged(ArchivePart part, ArchiveFault fault, qint64 entry)
{
    ArchiveCheck check;
    check.state = ArchiveState::Damaged;
    check.part = part;
    check.fault = fault;
    check.entry = entry;
    return check;
}

ArchiveCheck Reader::cut_short(quint64 expected) const
{
    ArchiveCheck check;
    check.state = ArchiveState::CutShort;
    check.expectedBytes = expected;
    check.actualBytes = size_;
    return check;
}

bool Reader::find_header(quint64 &header, ArchiveCheck &check)
{
    const quint64 end = qMin(size_, kMaxHeaderSearch);
    std::vector<quint8> chunk(kSearchChunk);
    for (quint64 start = 0; start + 4 <= end; start += kSearchChunk) {
        const quint64 bytes = qMin(kSearchChunk, size_ - start);
        if (!read_at(start, chunk.data(), bytes)) {
            check = unreadable();
            return false;
        }
        for (quint64 at = 0; at + 4 <= bytes && start + at < end; at += kHeaderStep) {
            const quint32 magic = u32(chunk.data() + at);
            if (magic == kHeaderMagic) {
                header = start + at;
                return true;
            }
            if (magic != kUserDataMagic || at + kUserDataBytes > bytes)
                continue;
            // The user data in front names where its archive's header is.
            const quint64 target = add(start + at, u32(chunk.data() + at + 8));
            quint8 found[4];
            if (target + 4 <= size_ && read_at(target, found, 4) && u32(found) == kHeaderMagic) {
                header = target;
                return true;
            }
            if (stopped_) {
                check = stopped();
                return false;
            }
        }
    }
    check.state = ArchiveState::NotArchive;
    return false;
}

ArchiveCheck Reader::run()
{
    ArchiveCheck check;
    quint64 header = 0;
    if (!find_header(header, check))
        return check;
    Layout layout;
    check = read_layout(header, layout);
    if (!check.sound())
        return check;
    check = check_places(header, layout);
    if (!check.sound())
        return check;
    check = check_blocks(header, layout.block, layout.high, layout.blockCount, layout.archive);
    if (!check.sound())
        return check;
    check = check_hashes(header, layout.hash, layout.blockCount);
    if (!check.sound())
        return check;
    return check_sectors(header, layout.archive);
}

ArchiveCheck Reader::read_layout(quint64 header, Layout &layout)
{
    std::array<quint8, kHeaderBytes.back()> h{};
    const quint64 have = qMin<quint64>(h.size(), size_ - header);
    if (!read_at(header, h.data(), have))
        return unreadable();
    if (have < 12)
        return cut_short(header + kHeaderBytes[0]);
    const quint32 headerSize = u32(&h[4]);
    const quint16 version = u16(&h[12]);
    if (version >= kHeaderBytes.size())
        return damaged(ArchivePart::Header, ArchiveFault::UnknownVersion);
    const quint64 needed = kHeaderBytes[version];
    quint64 &archive = layout.archive;
    archive = u32(&h[8]);
    if (have < needed)
        return cut_short(add(header, qMax(archive, needed)));
    if (headerSize < needed)
        return damaged(ArchivePart::Header, ArchiveFault::BadSize);
    const quint32 shift = u16(&h[14]);
    if (shift > kMaxSectorShift)
        return damaged(ArchivePart::Header, ArchiveFault::BadSize);
    sectorBytes_ = quint64(512) << shift;

    Extent &hash = layout.hash;
    Extent &block = layout.block;
    Extent &high = layout.high;
    hash.pos = u32(&h[16]);
    block.pos = u32(&h[20]);
    const quint32 hashCount = u32(&h[24]);
    layout.blockCount = u32(&h[28]);
    if (hashCount > kMaxTableEntries)
        return damaged(ArchivePart::HashTable, ArchiveFault::BadSize);
    if (layout.blockCount > kMaxTableEntries)
        return damaged(ArchivePart::BlockTable, ArchiveFault::BadSize);
    hash.bytes = hashCount * kEntryBytes;
    block.bytes = layout.blockCount * kEntryBytes;
    if (version >= 1) {
        high.pos = u64(&h[32]);
        high.bytes = high.pos != 0 ? layout.blockCount * quint64(2) : 0;
        hash.pos |= quint64(u16(&h[40])) << 32;
        block.pos |= quint64(u16(&h[42])) << 32;
    }
    if (version == 1)
        archive = size_past_4_gb(archive, {hash, block, high}, size_ - header);
    if (version >= 2) {
        archive = u64(&h[44]);
        layout.bet.pos = u64(&h[52]);
        layout.het.pos = u64(&h[60]);
    }
    if (version >= 3) {
        // A smaller size is a packed table; no bytes at all hold no entries.
        const auto sized = [](Extent &e, quint64 bytes) {
            e.plain = bytes == e.bytes;
            if (bytes > e.bytes || (bytes == 0 && e.bytes != 0))
                return false;
            e.bytes = bytes;
            return true;
        };
        if (!sized(hash, u64(&h[68])))
            return damaged(ArchivePart::HashTable, ArchiveFault::BadSize);
        if (!sized(block, u64(&h[76])))
            return damaged(ArchivePart::BlockTable, ArchiveFault::BadSize);
        if (!sized(high, u64(&h[84])))
            return damaged(ArchivePart::HighBlockTable, ArchiveFault::BadSize);
        layout.het.bytes = u64(&h[92]);
        layout.bet.bytes = u64(&h[100]);
    }
    if (archive < headerSize || archive > kMaxArchiveBytes)
        return damaged(ArchivePart::Header, ArchiveFault::BadSize);
    return {};
}

ArchiveCheck Reader::check_places(quint64 header, const Layout &layout) const
{
    const quint64 archive = layout.archive;
    const auto outside = [archive](const Extent &e) { return e.bytes != 0 && add(e.pos, e.bytes) > archive; };
    if (outside(layout.hash))
        return damaged(ArchivePart::HashTable, ArchiveFault::Outside);
    if (outside(layout.block))
        return damaged(ArchivePart::BlockTable, ArchiveFault::Outside);
    if (outside(layout.high))
        return damaged(ArchivePart::HighBlockTable, ArchiveFault::Outside);
    for (const Extent &e : {layout.het, layout.bet})
        if (e.pos != 0 && (e.pos >= archive || add(e.pos, e.bytes) > archive))
            return damaged(ArchivePart::ExtendedTable, ArchiveFault::Outside);
    if (add(header, archive) > size_)
        return cut_short(add(header, archive));
    return {};
}

// Reads one table whole and decrypts it with its well-known key; a table
// that is all zeros (a file never filled) is damaged.
ArchiveCheck Reader::read_table(quint64 header, const Extent &table, ArchivePart part, const char *key,
                                std::vector<quint8> &bytes)
{
    bytes.assign(table.bytes, 0);
    if (!read_at(header + table.pos, bytes.data(), bytes.size()))
        return unreadable();
    if (all_zero(bytes))
        return damaged(part, ArchiveFault::Blank);
    decrypt(bytes.data(), bytes.size(), archive_hash(key, 3));
    return {};
}

// A packed table is not unpacked here, but one that holds only zero bytes
// is a file never filled all the same.
ArchiveCheck Reader::check_packed(quint64 header, const Extent &table, ArchivePart part)
{
    std::vector<quint8> bytes(table.bytes);
    if (!read_at(header + table.pos, bytes.data(), bytes.size()))
        return unreadable();
    return all_zero(bytes) ? damaged(part, ArchiveFault::Blank) : ArchiveCheck();
}

ArchiveCheck Reader::check_blocks(quint64 header, const Extent &table, const Extent &high, quint32 count,
                                  quint64 archive)
{
    if (!high.plain && high.bytes != 0)
        if (ArchiveCheck c = check_packed(header, high, ArchivePart::HighBlockTable); !c.sound())
            return c;
    if (table.bytes == 0)
        return {};
    if (!table.plain)
        return check_packed(header, table, ArchivePart::BlockTable);
    std::vector<quint8> bytes;
    if (ArchiveCheck c = read_table(header, table, ArchivePart::BlockTable, "(block table)", bytes); !c.sound())
        return c;
    std::vector<quint8> highBytes(high.plain ? high.bytes : 0);
    if (!highBytes.empty() && !read_at(header + high.pos, highBytes.data(), highBytes.size()))
        return unreadable();

    blocks_.resize(count);
    for (quint32 i = 0; i < count; ++i) {
        const quint8 *e = bytes.data() + i * kEntryBytes;
        Block &b = blocks_[i];
        b.pos = u32(e);
        if (!highBytes.empty())
            b.pos |= quint64(u16(highBytes.data() + 2 * quint64(i))) << 32;
        b.packed = u32(e + 4);
        b.size = u32(e + 8);
        b.flags = u32(e + 12);
        if (b.flags & ~kKnownFlags || (b.flags & kImplode && b.flags & kCompress))
            return damaged(ArchivePart::BlockTable, ArchiveFault::BadFlags, i);
        if (!(b.flags & kExists))
            continue;
        if (add(b.pos, b.packed) > archive)
            return damaged(ArchivePart::File, ArchiveFault::Outside, i);
        // A file stored as it is takes exactly its own size.
        const bool packed = b.flags & (kImplode | kCompress | kPatchFile | kDeleteMarker);
        if (!packed && b.packed != b.size)
            return damaged(ArchivePart::BlockTable, ArchiveFault::BadSize, i);
    }
    blocksKnown_ = true;
    return {};
}

ArchiveCheck Reader::check_hashes(quint64 header, const Extent &table, quint32 count)
{
    if (table.bytes == 0)
        return {};
    if (!table.plain)
        return check_packed(header, table, ArchivePart::HashTable);
    std::vector<quint8> bytes;
    if (ArchiveCheck c = read_table(header, table, ArchivePart::HashTable, "(hash table)", bytes); !c.sound())
        return c;
    for (quint64 i = 0; i < table.bytes / kEntryBytes; ++i) {
        const quint32 index = u32(bytes.data() + i * kEntryBytes + 12);
        if (index == kEmptyEntry || index == kDeletedEntry)
            continue;
        if (index >= count || (blocksKnown_ && !(blocks_[index].flags & kExists)))
            return damaged(ArchivePart::HashTable, ArchiveFault::BadIndex, qint64(i));
    }
    return {};
}

// Every file split into sectors starts with a table of their offsets. Files
// that share one table (a crafted archive may point thousands at it) are
// judged by one reading of it, and all tables together are read for no more
// bytes than the archive holds: past that the remaining tables are left
// unread rather than read over and over.
ArchiveCheck Reader::check_sectors(quint64 header, quint64 archive)
{
    std::map<std::pair<quint64, bool>, SectorTable> seen;
    quint64 budget = archive;
    std::vector<quint8> bytes;
    for (quint64 i = 0; i < blocks_.size(); ++i) {
        const Block &b = blocks_[i];
        // Only a file split into sectors has a table, and an encrypted one's
        // key comes from its name, which the archive need not hold.
        if (!(b.flags & kExists) || !(b.flags & (kImplode | kCompress)) || b.size == 0
            || b.flags & (kSingleUnit | kEncrypted | kPatchFile | kDeleteMarker))
            continue;
        const quint64 sectors = (quint64(b.size) + sectorBytes_ - 1) / sectorBytes_;
        const bool crc = b.flags & kSectorCrc;
        const quint64 entries = sectors + 1 + (crc ? 1 : 0);
        if (entries * 4 > b.packed)
            return damaged(ArchivePart::SectorTable, ArchiveFault::BadSize, qint64(i));
        auto found = seen.find({b.pos, crc});
        if (found == seen.end()) {
            if (entries * 4 > budget)
                continue;
            budget -= entries * 4;
            bytes.resize(entries * 4);
            if (!read_at(header + b.pos, bytes.data(), bytes.size()))
                return unreadable();
            SectorTable t;
            t.first = u32(bytes.data());
            t.blank = all_zero(bytes);
            quint32 last = 0;
            for (quint64 s = 0; s < entries; ++s) {
                const quint32 offset = u32(bytes.data() + 4 * s);
                // Each data sector holds at least one byte; the checksums' end may equal their start.
                const bool rises = s == 0 || offset > last || (crc && s == entries - 1 && offset >= last);
                if (!rises)
                    break;
                t.rising = s + 1;
                last = offset;
            }
            t.lastRising = last;
            found = seen.emplace(std::make_pair(b.pos, crc), t).first;
        }
        const SectorTable &t = found->second;
        // Another file at the same place with another count of sectors has
        // a table that cannot start with this one's size.
        if (t.first != entries * 4)
            return t.blank && t.first == 0 ? damaged(ArchivePart::SectorTable, ArchiveFault::Blank, qint64(i))
                                           : damaged(ArchivePart::SectorTable, ArchiveFault::BadSize, qint64(i));
        // The offsets that rise do so up to the last of them, so one past the
        // file's end among them shows in that last one.
        if (t.lastRising > b.packed)
            return damaged(ArchivePart::SectorTable, ArchiveFault::Outside, qint64(i));
        if (t.rising < entries)
            return damaged(ArchivePart::SectorTable, ArchiveFault::NotAscending, qint64(i));
    }
    return {};
}

}  // namespace

quint32 archive_hash(const char *name, quint32 type)
{
    quint32 seed1 = 0x7FED7FED;
    quint32 seed2 = 0xEEEEEEEE;
    for (const char *p = name; *p != '\0'; ++p) {
        quint32 c = quint8(*p);
        if (c >= 'a' && c <= 'z')
            c -= 'a' - 'A';
        seed1 = kCryptTable[(type << 8) + c] ^ (seed1 + seed2);
        seed2 = c + seed1 + seed2 + (seed2 << 5) + 3;
    }
    return seed1;
}

void archive_encrypt(quint8 *data, quint64 bytes, quint32 key)
{
    quint32 seed = 0xEEEEEEEE;
    for (quint64 i = 0; i + 4 <= bytes; i += 4) {
        seed += kCryptTable[0x400 + (key & 0xFF)];
        const quint32 plain = u32(data + i);
        const quint32 word = plain ^ (key + seed);
        key = ((~key << 21) + 0x11111111) | (key >> 11);
        seed = plain + seed + (seed << 5) + 3;
        for (int b = 0; b < 4; ++b)
            data[i + quint64(b)] = quint8(word >> (8 * b));
    }
}

ArchiveCheck check_archive(QIODevice &device, const KeepGoing &keepGoing)
{
    DeviceSource source(device);
    return Reader(source, keepGoing).run();
}

ArchiveCheck check_archive(const QString &path, const KeepGoing &keepGoing)
{
    ReadOnlyFile file;
    ArchiveCheck check;
    switch (file.open(path)) {
    case ReadResult::Fault::None: break;
    case ReadResult::Fault::NotRegular: check.state = ArchiveState::NotArchive; return check;
    case ReadResult::Fault::Missing:
    case ReadResult::Fault::TooLarge:
    case ReadResult::Fault::Outside:
    case ReadResult::Fault::Unreadable:
        check.state = ArchiveState::Unreadable;
        check.error = file.error();
        return check;
    }
    FileSource source(file);
    return Reader(source, keepGoing).run();
}

}  // namespace tess
