#include "core/patches/archive.h"
#include "core/patches/archive_check.h"
#include "core/patches/archive_texts.h"
#include "cli/commands.h"
#include "support/craftedarchive.h"
#include "support/gamefolder.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QThread>

#include <functional>

using namespace tess;

Q_DECLARE_METATYPE(tess::ArchiveState)
Q_DECLARE_METATYPE(tess::ArchivePart)

namespace {

QByteArray read_all(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ArchiveCheck check_bytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return check_archive(buffer);
}

// A file in memory that counts the bytes read from it.
class CountingBuffer : public QBuffer
{
public:
    explicit CountingBuffer(QByteArray *bytes) : QBuffer(bytes) {}
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 size) override
    {
        const qint64 got = QBuffer::readData(data, size);
        bytesRead += qMax<qint64>(got, 0);
        return got;
    }
};

quint32 le32(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint64 le64(const QByteArray &b, int at) { return quint64(le32(b, at)) | quint64(le32(b, at + 4)) << 32; }
void put64(QByteArray &b, int at, quint64 v)
{
    for (int i = 0; i < 8; ++i)
        b[at + i] = char(v >> (8 * i));
}

QByteArray sha256_hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

}  // namespace

// Archives are made by the format's reference tool, as a server owner makes
// them, then damaged the ways downloads and disks damage them.
class TestArchive : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    bool haveTool_ = false;
    QString fixtures_;  // archives made beforehand, when the tool cannot be run here
    QString small_;
    QString many_;

    // Source files: text (compresses), random bytes (does not), one over
    // several sectors, one empty.
    QString make_files(const QString &name, int count)
    {
        const QString folder = dir_.filePath(name);
        QDir().mkpath(folder);
        QRandomGenerator random(7);
        for (int i = 0; i < count; ++i) {
            QFile f(folder + QStringLiteral("/f%1.bin").arg(i, 5, 10, QLatin1Char('0')));
            if (!f.open(QIODevice::WriteOnly))
                return {};
            QByteArray data;
            const int size = i == 0 ? 0 : i % 3 == 0 ? 40000 + i : 100 + i % 700;
            for (int k = 0; k < size; ++k)
                data.append(i % 2 ? char(random.bounded(256)) : char('a' + k % 7));
            f.write(data);
        }
        return folder;
    }

    // An archive of every file in `folder`, or an empty text when the tool fails.
    // Where the tool cannot run (a Windows build under Wine), the same kind of
    // archive comes from those the build machine's tool made for these tests.
    QString make_archive(const QString &name, const QString &folder, int version, bool compressed)
    {
        const QString path = dir_.filePath(name);
        if (!fixtures_.isEmpty()) {
            const QString made = fixtures_
                + QStringLiteral("/%1-v%2-%3.mpq")
                      .arg(QFileInfo(folder).fileName())
                      .arg(version)
                      .arg(compressed ? QLatin1Char('c') : QLatin1Char('s'));
            QFile::remove(path);
            return QFile::copy(made, path) ? path : QString();
        }
        QStringList args{QStringLiteral("-c"), QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("-M"),
                         QString::number(version)};
        if (!compressed)
            args << QStringLiteral("-C") << QStringLiteral("none");
        args << path;
        const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        for (const QString &file : files)
            args << QDir(folder).filePath(file);
        QProcess tool;
        tool.start(QStringLiteral("smpq"), args);
        if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
            return {};
        return QFile::exists(path) ? path : QString();
    }

    QString copy_with(const QString &from, const QString &name, const std::function<void(QByteArray &)> &change)
    {
        QByteArray bytes = read_all(from);
        change(bytes);
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return path;
    }

    void require_tool() const
    {
        if (!haveTool_)
            QSKIP("smpq is not installed here (scripts/setup installs it); no real archives can be made");
    }

    // Where the header places a table of sound archive `bytes`, from the file's start.
    static quint32 hash_table_at(const QByteArray &bytes) { return le32(bytes, 16); }
    static quint32 block_table_at(const QByteArray &bytes) { return le32(bytes, 20); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QProcess probe;
        probe.start(QStringLiteral("smpq"), {QStringLiteral("--version")});
        haveTool_ = probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit;
        const QString made = qEnvironmentVariable("TESSARINE_TEST_ARCHIVES");
        if (!haveTool_ && !made.isEmpty() && QFileInfo::exists(made + QStringLiteral("/few-v1-c.mpq"))) {
            fixtures_ = made;
            haveTool_ = true;
        }
        if (!haveTool_)
            return;
        const QString few =
            fixtures_.isEmpty() ? make_files(QStringLiteral("few"), 12) : dir_.filePath(QStringLiteral("few"));
        small_ = make_archive(QStringLiteral("small.mpq"), few, 1, true);
        QVERIFY(!small_.isEmpty());
        many_ = fixtures_.isEmpty() ? make_files(QStringLiteral("many"), 2000) : dir_.filePath(QStringLiteral("many"));
    }

    void table_keys_are_the_formats_own()
    {
        // The keys every archive's tables are encrypted with.
        QCOMPARE(archive_hash("(hash table)", 3), 0xC3AF3770u);
        QCOMPARE(archive_hash("(block table)", 3), 0xEC83B3A3u);
        QCOMPARE(archive_hash("(HASH TABLE)", 3), 0xC3AF3770u);
    }

    void archives_made_by_the_tool_are_sound_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("compressed");
        QTest::addColumn<bool>("thousands");
        for (int version = 1; version <= 4; ++version)
            for (bool compressed : {true, false})
                QTest::addRow("v%d %s", version, compressed ? "compressed" : "stored")
                    << version << compressed << false;
        QTest::addRow("v1 stored, 2000 files") << 1 << false << true;
        QTest::addRow("v2 compressed, 2000 files") << 2 << true << true;
    }
    void archives_made_by_the_tool_are_sound()
    {
        require_tool();
        QFETCH(int, version);
        QFETCH(bool, compressed);
        QFETCH(bool, thousands);
        const QString folder = thousands ? many_ : dir_.filePath(QStringLiteral("few"));
        const QString path =
            make_archive(QStringLiteral("sound-%1-%2-%3.mpq").arg(version).arg(compressed).arg(thousands), folder,
                         version, compressed);
        QVERIFY(!path.isEmpty());
        const ArchiveCheck check = check_archive(path);
        QVERIFY2(check.sound(), qPrintable(describe(check)));

        // The same archive behind data of another kind, at a 512-byte step
        // as the game searches, is still found and sound.
        const QString behind =
            copy_with(path, QStringLiteral("behind.mpq"), [](QByteArray &b) { b.prepend(QByteArray(1024, 'x')); });
        QVERIFY2(check_archive(behind).sound(), qPrintable(describe(check_archive(behind))));
    }

    void cut_archives_say_both_sizes_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("where");
        for (int version : {1, 2, 4})
            for (const char *where : {"header", "data", "tables", "last byte"})
                QTest::addRow("v%d in %s", version, where) << version << QString::fromLatin1(where);
    }
    void cut_archives_say_both_sizes()
    {
        require_tool();
        QFETCH(int, version);
        QFETCH(QString, where);
        const QString path = make_archive(QStringLiteral("cut-%1.mpq").arg(version),
                                          dir_.filePath(QStringLiteral("few")), version, true);
        QVERIFY(!path.isEmpty());
        const QByteArray whole = read_all(path);
        const int tables = int(qMin(hash_table_at(whole), block_table_at(whole)));
        const int at = where == QLatin1String("header") ? 20
            : where == QLatin1String("data")            ? tables / 2
            : where == QLatin1String("tables")          ? tables + 20
                                                        : whole.size() - 1;
        const ArchiveCheck check = check_bytes(whole.left(at));
        QCOMPARE(check.state, ArchiveState::CutShort);
        QCOMPARE(check.expectedBytes, quint64(whole.size()));
        QCOMPARE(check.actualBytes, quint64(at));
    }

    void blank_and_flipped_tables_are_damage_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<ArchivePart>("part");
        QTest::addRow("zero-filled from the middle") << QStringLiteral("zero tail") << ArchivePart::BlockTable;
        QTest::addRow("hash table byte") << QStringLiteral("flip hash") << ArchivePart::HashTable;
        QTest::addRow("block table byte") << QStringLiteral("flip block") << ArchivePart::BlockTable;
        QTest::addRow("first file's sector table") << QStringLiteral("flip sectors") << ArchivePart::SectorTable;
    }
    void blank_and_flipped_tables_are_damage()
    {
        require_tool();
        QFETCH(QString, damage);
        QFETCH(ArchivePart, part);
        const QByteArray whole = read_all(small_);
        const int hash = int(hash_table_at(whole));
        const int block = int(block_table_at(whole));
        QVERIFY(hash < block && block < whole.size());
        QByteArray bytes = whole;
        if (damage == QLatin1String("zero tail")) {
            // What a download that pre-allocated the file and stopped leaves.
            for (int i = whole.size() / 2; i < whole.size(); ++i)
                bytes[i] = 0;
        } else if (damage == QLatin1String("flip hash")) {
            bytes[hash + (block - hash) / 2] = char(bytes[hash + (block - hash) / 2] ^ 0x5A);
        } else if (damage == QLatin1String("flip block")) {
            bytes[block + 16 + 5] = char(bytes[block + 16 + 5] ^ 0x5A);
        } else {
            // The first file follows the 32-byte header; its table's first offset is its own size.
            bytes[32 + 1] = char(bytes[32 + 1] ^ 0x5A);
        }
        const ArchiveCheck check = check_bytes(bytes);
        QCOMPARE(check.state, ArchiveState::Damaged);
        if (damage == QLatin1String("flip block"))
            // The block's own fields decrypt wrongly: it may be read as
            // lying outside the archive before its flags are reached.
            QVERIFY2(check.part == ArchivePart::BlockTable || check.part == ArchivePart::File,
                     qPrintable(describe(check)));
        else
            QCOMPARE(check.part, part);
        QVERIFY(describe(check).startsWith(QLatin1String("damaged: ")));
    }

    void other_files_are_no_archive()
    {
        QCOMPARE(check_bytes(QByteArray()).state, ArchiveState::NotArchive);
        QCOMPARE(check_bytes("<!DOCTYPE html><html><head><title>404 Not Found</title></head>"
                             "<body><h1>Not Found</h1></body></html>\n")
                     .state,
                 ArchiveState::NotArchive);
        QCOMPARE(check_bytes(QByteArray(70000, '\0')).state, ArchiveState::NotArchive);
        // The signature off the 512-byte steps is not where the game looks.
        QCOMPARE(check_bytes(QByteArray(100, ' ') + QByteArray("MPQ\x1A", 4) + QByteArray(200, '\0')).state,
                 ArchiveState::NotArchive);
        // A signature alone: the header is cut short.
        QCOMPARE(check_bytes(QByteArray("MPQ\x1A\x20\0\0", 7)).state, ArchiveState::CutShort);
    }

    void impossible_headers_are_damage()
    {
        // A header with empty tables, then one field at a time made impossible.
        const auto header = [](std::initializer_list<std::pair<int, quint32>> fields) {
            QByteArray bytes(32, '\0');
            const auto put = [&bytes](int at, quint32 v) {
                for (int i = 0; i < 4; ++i)
                    bytes[at + i] = char(v >> (8 * i));
            };
            put(0, 0x1A51504D);
            put(4, 32);
            put(8, 32);
            for (const auto &[at, value] : fields)
                put(at, value);
            return check_bytes(bytes);
        };
        QVERIFY(header({}).sound());
        QCOMPARE(header({{12, 9}}).fault, ArchiveFault::UnknownVersion);
        QCOMPARE(header({{14, 30}}).fault, ArchiveFault::BadSize);  // sector size
        const ArchiveCheck huge = header({{24, 0x40000000}});       // hash entries past any real archive
        QCOMPARE(huge.part, ArchivePart::HashTable);
        QCOMPARE(huge.fault, ArchiveFault::BadSize);
        const ArchiveCheck outside = header({{20, 0}, {28, 4}});  // 64 bytes of table in a 32-byte archive
        QCOMPARE(outside.part, ArchivePart::BlockTable);
        QCOMPARE(outside.fault, ArchiveFault::Outside);
        // An archive size that wraps around when added to the header's place.
        QCOMPARE(header({{8, 0xFFFFFFFF}}).state, ArchiveState::CutShort);

        // A format-3 header whose 64-bit archive size is past anything the
        // format can place a file or table in: no size, but damage.
        QByteArray wide(68, '\0');
        wide.replace(0, 4, "MPQ\x1A");
        wide[4] = char(68);
        wide[12] = char(2);
        put64(wide, 44, ~quint64(0));
        const ArchiveCheck nonsense = check_bytes(wide);
        QVERIFY2(nonsense.state == ArchiveState::Damaged, qPrintable(describe(nonsense)));
        QCOMPARE(nonsense.part, ArchivePart::Header);
        QCOMPARE(nonsense.fault, ArchiveFault::BadSize);
        QCOMPARE(describe(nonsense), QStringLiteral("damaged: the header has impossible sizes"));
        // Just within what the format's 48-bit places can reach, it is a size: cut short.
        put64(wide, 44, quint64(1) << 48);
        QCOMPARE(check_bytes(wide).state, ArchiveState::CutShort);
    }

    // A format-2 archive past 4 GB: its 32-bit size has wrapped, and its
    // tables' own ends, far past the wrapped size, tell the whole size. The
    // tool's small archive with its tables moved 6 GB in, in a sparse file.
    void big_format_2_archives_are_sized_by_their_tables()
    {
        require_tool();
        const QString path =
            make_archive(QStringLiteral("big-source.mpq"), dir_.filePath(QStringLiteral("few")), 2, true);
        QVERIFY(!path.isEmpty());
        const QByteArray made = read_all(path);
        QCOMPARE(le32(made, 32) | le32(made, 36), 0u);  // no high block table: every file starts below 4 GB
        const int hash = int(hash_table_at(made));
        const int block = int(block_table_at(made));
        QCOMPARE(block, hash + int(le32(made, 24)) * 16);
        QCOMPARE(made.size(), block + int(le32(made, 28)) * 16);
        const QByteArray tables = made.mid(hash);
        const quint64 tablesAt = quint64(6) << 30;
        const quint64 archive = tablesAt + quint64(tables.size());

        QByteArray header = made.left(44);
        const auto put32 = [&header](int at, quint32 v) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = char(v >> (8 * i));
        };
        put32(8, quint32(archive));
        put32(16, quint32(tablesAt));
        put32(20, quint32(tablesAt + quint64(block - hash)));
        header[40] = char(tablesAt >> 32);
        header[41] = 0;
        header[42] = char((tablesAt + quint64(block - hash)) >> 32);
        header[43] = 0;
        const QString big = dir_.filePath(QStringLiteral("big.mpq"));
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write(header + made.mid(44, hash - 44)) == hash);
            if (!f.resize(qint64(archive)) || !f.seek(qint64(tablesAt)) || f.write(tables) != tables.size())
                QSKIP("no room for a sparse 6 GB file here");
        }
        const auto cleanup = qScopeGuard([&big] { QFile::remove(big); });
        // The format's own tool reads every file of it.
        QProcess tool;
        tool.start(QStringLiteral("smpq"), {QStringLiteral("-l"), big});
        if (tool.waitForFinished(30000) && fixtures_.isEmpty()) {
            QCOMPARE(tool.exitCode(), 0);
            QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).count(QStringLiteral(".bin")), 12);
        }
        QVERIFY2(check_archive(big).sound(), qPrintable(describe(check_archive(big))));
        QFile file(big);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(qint64(archive) + 100));  // more behind the archive, as any archive may have
        QVERIFY2(check_archive(big).sound(), qPrintable(describe(check_archive(big))));
        for (const quint64 cut : {quint64(5) << 30, quint64(3) << 30}) {
            QVERIFY(file.resize(qint64(cut)));
            const ArchiveCheck check = check_archive(big);
            QVERIFY2(check.state == ArchiveState::CutShort, qPrintable(describe(check)));
            QCOMPARE(check.expectedBytes, archive);
            QCOMPARE(check.actualBytes, cut);
        }
    }

    void missing_files_are_unreadable_with_the_systems_reason()
    {
        const ArchiveCheck check = check_archive(dir_.filePath(QStringLiteral("absent.mpq")));
        QCOMPARE(check.state, ArchiveState::Unreadable);
        QVERIFY(!check.error.isEmpty());
        QVERIFY(describe(check).startsWith(QLatin1String("unreadable: ")));
    }

    void fifos_and_other_files_that_are_no_files_are_never_waited_on()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        const QStringList fifos = {game.path(QStringLiteral("Data/patch-f.mpq")),
                                   game.path(QStringLiteral("launcher/") + kChecksumListFile),
                                   game.path(QStringLiteral("launcher/") + kArchiveCacheFile)};
        if (!make_fifo(fifos.first()))
            QSKIP("this system makes no FIFOs");
        QVERIFY(make_fifo(fifos[1]) && make_fifo(fifos[2]));
        QVERIFY(QDir().mkpath(game.path(QStringLiteral("Data/patch-d.mpq"))));  // a folder by an archive's name

        ArchiveReport report;
        QString hashError;
        QByteArray digest = "unset";
        QThread *run = QThread::create([&] {
            ArchiveCache cache = ArchiveCache::load();
            report = check_patch_archives(ChecksumList::read(), cache);
            digest = sha256_of_file(fifos.first(), {}, &hashError);
        });
        run->start();
        bool ended = run->wait(10000);
        for (int i = 0; !ended && i < 20; ++i) {
            // A reader that waits for a writer is let go (a FIFO opened both
            // ways never waits), so that the test can end.
            QProcess::execute(QStringLiteral("sh"),
                              {QStringLiteral("-c"), QStringLiteral("for f; do exec 3<>\"$f\"; exec 3>&-; done"),
                               QStringLiteral("sh"), fifos[0], fifos[1], fifos[2]});
            run->wait(500);
        }
        QVERIFY2(ended, "the check waited for a writer to a FIFO");
        delete run;
        QMap<QString, ArchiveState> states;
        for (const ArchiveResult &r : report.results)
            states.insert(r.path, r.check.state);
        QVERIFY(states.contains(QStringLiteral("../Data/patch-f.mpq")));
        QCOMPARE(states.value(QStringLiteral("../Data/patch-f.mpq")), ArchiveState::NotArchive);
        QCOMPARE(check_archive(game.path(QStringLiteral("Data/patch-d.mpq"))).state, ArchiveState::NotArchive);
        QVERIFY(digest.isEmpty());
        QVERIFY(!hashError.isEmpty());
    }

    void keep_going_is_asked_before_every_read()
    {
        require_tool();
        GameFolder game;
        // Far more than one read's worth of something that is no archive.
        game.touch(QStringLiteral("Data/patch-b.mpq"), QByteArray(4 << 20, '\0'));
        int asked = 0;
        ArchiveCache cache;
        const ArchiveReport stopped = check_archive_files({QStringLiteral("../Data/patch-b.mpq")}, ChecksumList(),
                                                          cache, [&asked] { return ++asked < 10; });
        QVERIFY2(!stopped.finished, "the search for a header went on after the stop");
        QCOMPARE(asked, 10);
        QVERIFY(stopped.results.empty());
        QCOMPARE(cache.size(), 0);

        // A listed archive with much behind its tables, so that the hash
        // reads long after them. A switch renames it in the middle of the
        // hash: the rename goes through and the hash is still the file's.
        const QByteArray bytes = read_all(small_) + QByteArray(40 << 20, '\0');
        game.touch(QStringLiteral("Data/patch-a.mpq"), bytes);
        const ChecksumList list = ChecksumList::parse(sha256_hex(bytes) + "  Data/patch-a.mpq\n");
        asked = 0;
        RenameStatus renamed = RenameStatus::Failed;
        const ArchiveReport report =
            check_archive_files({QStringLiteral("../Data/patch-a.mpq")}, list, cache, [&asked, &renamed] {
                if (++asked == 30)
                    renamed = rename_no_replace(QStringLiteral("../Data/patch-a.mpq"),
                                                QStringLiteral("../Data/patch-a.mpq.disabled"))
                                  .status;
                return true;
            });
        QVERIFY2(asked >= 40, qPrintable(QString::number(asked)));
        QCOMPARE(renamed, RenameStatus::Renamed);
        QVERIFY(report.finished);
        QCOMPARE(report.results.size(), size_t(1));
        QVERIFY2(report.results[0].check.sound(), qPrintable(describe(report.results[0].check)));
    }

    void a_shared_sector_table_is_read_once()
    {
        QByteArray bytes = shared_sector_table_archive(4096, 16383);
        CountingBuffer file(&bytes);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        const ArchiveCheck check = check_archive(file);
        QVERIFY2(check.sound(), qPrintable(describe(check)));
        QVERIFY2(file.bytesRead <= 2 * bytes.size(),
                 qPrintable(QStringLiteral("%1 bytes read of %2").arg(file.bytesRead).arg(bytes.size())));

        // Tables that overlap at other starts are read for no more than the archive's size either.
        QByteArray stairs = staircase_sector_tables_archive(2048, 2048);
        CountingBuffer steps(&stairs);
        QVERIFY(steps.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        const ArchiveCheck stepped = check_archive(steps);
        QVERIFY2(stepped.sound(), qPrintable(describe(stepped)));
        QVERIFY2(steps.bytesRead <= 3 * stairs.size(),
                 qPrintable(QStringLiteral("%1 bytes read of %2").arg(steps.bytesRead).arg(stairs.size())));

        // Each entry is still judged by the shared table: one that claims too little data is found.
        QByteArray shorter = shared_sector_table_archive(4096, 16383, 3000);
        const ArchiveCheck one = check_bytes(shorter);
        QCOMPARE(one.state, ArchiveState::Damaged);
        QCOMPARE(one.part, ArchivePart::SectorTable);
        QCOMPARE(one.fault, ArchiveFault::Outside);
        QCOMPARE(one.entry, qint64(3000));
    }

    void extended_tables_are_placed_by_their_own_sizes_data()
    {
        QTest::addColumn<int>("version");
        QTest::addRow("v3") << 3;
        QTest::addRow("v4") << 4;
    }
    void extended_tables_are_placed_by_their_own_sizes()
    {
        require_tool();
        QFETCH(int, version);
        const QString path = make_archive(QStringLiteral("extended-%1.mpq").arg(version),
                                          dir_.filePath(QStringLiteral("few")), version, true);
        QVERIFY(!path.isEmpty());
        const QByteArray made = read_all(path);
        const int bet = int(le64(made, 52));
        const int het = int(le64(made, 60));
        const int tables = int(qMin(hash_table_at(made), block_table_at(made)));
        const quint64 archive = le64(made, 44);
        // The tool writes the hash-like table first, then the block-like one, then the classic two.
        QVERIFY(0 < het && het < bet && bet < tables);
        QVERIFY2(check_bytes(made).sound(), qPrintable(describe(check_bytes(made))));

        // The same tables the other way round: the block-like one first.
        QByteArray swapped = made;
        swapped.replace(het, tables - het, made.mid(bet, tables - bet) + made.mid(het, bet - het));
        const int betSwapped = het;
        const int hetSwapped = het + (tables - bet);
        put64(swapped, 52, quint64(betSwapped));
        put64(swapped, 60, quint64(hetSwapped));
        if (version == 4)
            // The newest header ends in a digest of itself, which the tool checks.
            swapped.replace(0xC0, 16, QCryptographicHash::hash(swapped.left(0xC0), QCryptographicHash::Md5));
        QVERIFY2(check_bytes(swapped).sound(), qPrintable(describe(check_bytes(swapped))));
        const QString swappedPath = copy_with(path, QStringLiteral("swapped.mpq"), [&](QByteArray &b) { b = swapped; });
        // The format's own tool reads every file of it.
        QProcess tool;
        tool.start(QStringLiteral("smpq"), {QStringLiteral("-l"), swappedPath});
        if (tool.waitForFinished(30000) && fixtures_.isEmpty()) {
            QCOMPARE(tool.exitCode(), 0);
            QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).count(QStringLiteral(".bin")), 12);
        }

        // A table placed past the archive's end, in either order.
        for (const QByteArray &order : {made, swapped}) {
            QByteArray beyond = order;
            const int at = order == made ? 60 : 52;
            put64(beyond, at, archive + 16);
            const ArchiveCheck check = check_bytes(beyond);
            QCOMPARE(check.part, ArchivePart::ExtendedTable);
            QCOMPARE(check.fault, ArchiveFault::Outside);
        }
        if (version < 4)
            return;
        // The newest format gives each table's size: the one that ends last,
        // said to reach one byte past the archive, is damage in either order.
        QByteArray longBet = made;
        put64(longBet, 100, archive - quint64(bet) + 1);
        QByteArray longHet = swapped;
        put64(longHet, 92, archive - quint64(hetSwapped) + 1);
        for (const QByteArray &beyond : {longBet, longHet}) {
            const ArchiveCheck check = check_bytes(beyond);
            QCOMPARE(check.state, ArchiveState::Damaged);
            QCOMPARE(check.part, ArchivePart::ExtendedTable);
            QCOMPARE(check.fault, ArchiveFault::Outside);
        }
        // Their true sizes fit where the tool put them.
        QVERIFY(quint64(het) + le64(made, 92) <= quint64(bet) && quint64(bet) + le64(made, 100) <= quint64(tables));

        // A zero-filled hash table whose size on disk says it is stored
        // packed (smaller than its entries), or that it takes no bytes at
        // all, is still the damage it is.
        const int hashAt = int(hash_table_at(made));
        const quint64 hashBytes = quint64(le32(made, 24)) * 16;
        QCOMPARE(le64(made, 68), hashBytes);
        for (const quint64 said : {hashBytes - 16, quint64(0)}) {
            QByteArray blank = made;
            blank.replace(hashAt, int(hashBytes), QByteArray(int(hashBytes), '\0'));
            put64(blank, 68, said);
            blank.replace(0xC0, 16, QCryptographicHash::hash(blank.left(0xC0), QCryptographicHash::Md5));
            const ArchiveCheck check = check_bytes(blank);
            QVERIFY2(check.state == ArchiveState::Damaged, qPrintable(describe(check)));
            QCOMPARE(check.part, ArchivePart::HashTable);
            QCOMPARE(check.fault, said == 0 ? ArchiveFault::BadSize : ArchiveFault::Blank);
        }
    }

    void names_that_are_not_text_are_read_by_their_bytes()
    {
        require_tool();
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        // A name from a system with another code page: Latin-1, not UTF-8.
        QProcess sh;
        sh.setWorkingDirectory(game.path(QStringLiteral("Data")));
        sh.start(QStringLiteral("sh"),
                 {QStringLiteral("-c"), QStringLiteral("cp \"$1\" \"$(printf 'patch-\\351a.mpq')\""),
                  QStringLiteral("sh"), small_});
        if (!sh.waitForFinished(10000) || sh.exitStatus() != QProcess::NormalExit || sh.exitCode() != 0)
            QSKIP("no POSIX shell here to name a file by its bytes");
        // Qt cannot remove such a name: the shell does, however the test ends.
        struct Remove {
            QString folder;
            ~Remove()
            {
                QProcess::execute(
                    QStringLiteral("sh"),
                    {QStringLiteral("-c"), QStringLiteral("rm -f \"$1\"/patch-*"), QStringLiteral("sh"), folder});
            }
        } remove{game.path(QStringLiteral("Data"))};
        ArchiveCache cache;
        const ArchiveReport report = check_patch_archives(ChecksumList(), cache);
        QCOMPARE(report.results.size(), size_t(1));
        QCOMPARE(report.results[0].letter, QStringLiteral("a"));
        QVERIFY2(report.results[0].check.sound(), qPrintable(describe(report.results[0].check)));
        QCOMPARE(sha256_of_file(report.results[0].path), sha256_hex(read_all(small_)));
    }

    void every_managed_archive_is_checked_against_the_list_and_kept_in_the_cache()
    {
        require_tool();
        GameFolder game;
        const QByteArray sound = read_all(small_);
        game.touch(QStringLiteral("Data/patch-a.mpq"), sound);
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq.disabled"), sound.left(sound.size() / 2));
        game.touch(QStringLiteral("Data/patch-b.mpq.disabled"), "<html><body>502 Bad Gateway</body></html>");
        game.touch(QStringLiteral("Data/PATCH-C.MPQ.disabled"), sound);
        // Not managed by any row: the locale's base archive and the game's own.
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU.mpq"), "x");
        game.touch(QStringLiteral("Data/patch-2.mpq"), "x");

        // The list as sha256sum writes it, with other letter case and the
        // other name of a switched file.
        QProcess sum;
        sum.setWorkingDirectory(game.root());
        sum.start(QStringLiteral("sha256sum"), {QStringLiteral("Data/patch-a.mpq")});
        if (!sum.waitForFinished(10000) || sum.exitCode() != 0)
            QSKIP("sha256sum is not at hand to write the list with");
        const QByteArray line = sum.readAllStandardOutput().replace("patch-a.mpq", "PATCH-A.mpq.disabled");
        // Saved by an editor that puts a byte order mark in front.
        const ChecksumList list =
            ChecksumList::parse("\xEF\xBB\xBF" + line + QByteArray(64, 'e') + "  Data/patch-c.mpq\r\n" + "not a line\n"
                                + QByteArray(64, 'f') + "  Data/patch-d.mpq\n");
        QCOMPARE(list.size(), 3);
        QVERIFY(!list.find(QStringLiteral("../Data/patch-a.mpq")).isEmpty());
        // A file too large for any list is none, not a list cut where the reading stopped.
        game.touch(QStringLiteral("launcher/big.sha256"), line + QByteArray(2 << 20, '\n'));
        QCOMPARE(ChecksumList::read(QStringLiteral("big.sha256")).size(), 0);

        ArchiveCache cache;
        const auto states = [](const ArchiveReport &report) {
            QMap<QString, ArchiveState> found;
            for (const ArchiveResult &r : report.results)
                found.insert(r.path.toLower(), r.check.state);
            return found;
        };
        const QMap<QString, ArchiveState> expected = {
            {QStringLiteral("../data/patch-a.mpq"), ArchiveState::Sound},
            {QStringLiteral("../data/rurU/patch-ruRU-a.mpq.disabled").toLower(), ArchiveState::CutShort},
            {QStringLiteral("../data/patch-b.mpq.disabled"), ArchiveState::NotArchive},
            {QStringLiteral("../data/patch-c.mpq.disabled"), ArchiveState::Changed},
        };
        const ArchiveReport first = check_patch_archives(list, cache);
        QCOMPARE(states(first), expected);
        QCOMPARE(first.broken(), 3);
        for (const ArchiveResult &r : first.results) {
            QVERIFY(!r.fromCache);
            QCOMPARE(r.letter,
                     r.path.toLower().contains(QLatin1String("-a."))       ? QStringLiteral("a")
                         : r.path.toLower().contains(QLatin1String("-b.")) ? QStringLiteral("b")
                                                                           : QStringLiteral("c"));
        }

        // Saved and loaded, the cache answers for every unchanged file.
        QVERIFY(cache.save());
        QVERIFY(QFile::exists(kArchiveCacheFile));
        ArchiveCache loaded = ArchiveCache::load();
        QCOMPARE(loaded.size(), 4);
        const ArchiveReport second = check_patch_archives(list, loaded);
        QCOMPARE(states(second), expected);
        for (const ArchiveResult &r : second.results)
            QVERIFY2(r.fromCache, qPrintable(r.path));
        // The stamp's time is the file's own, in nanoseconds since 1970.
        const std::optional<FileStamp> stamp = file_stamp(QStringLiteral("../Data/patch-a.mpq"));
        QVERIFY(stamp);
        const qint64 modifiedMs = QFileInfo(QStringLiteral("../Data/patch-a.mpq"))
                                      .fileTime(QFileDevice::FileModificationTime)
                                      .toMSecsSinceEpoch();
        QVERIFY2(qAbs(stamp->modifiedNs / 1000000 - modifiedMs) <= 1,
                 qPrintable(QStringLiteral("%1 ns, %2 ms").arg(stamp->modifiedNs).arg(modifiedMs)));

        // A cached verdict is believed without reading the file again...
        QByteArray text = loaded.serialize();
        const int at = text.indexOf("\t../Data/patch-a.mpq");
        QVERIFY(at > 0);
        const int lineStart = text.lastIndexOf('\n', at) + 1;
        QList<QByteArray> fields = text.mid(lineStart, at - lineStart).split('\t');
        fields[3] = QByteArray::number(int(ArchiveState::NotArchive));
        text.replace(lineStart, at - lineStart, fields.join('\t'));
        ArchiveCache planted = ArchiveCache::deserialize(text + "garbage\tline\n");
        QCOMPARE(planted.size(), 4);
        QCOMPARE(states(check_patch_archives(list, planted)).value(QStringLiteral("../data/patch-a.mpq")),
                 ArchiveState::NotArchive);
        // ...until the file changes: then it is read afresh.
        game.touch(QStringLiteral("Data/patch-a.mpq"), sound);
        QFile rewritten(game.path(QStringLiteral("Data/patch-a.mpq")));
        QVERIFY(rewritten.open(QIODevice::ReadWrite));
        QVERIFY(rewritten.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
        rewritten.close();
        QCOMPARE(states(check_patch_archives(list, planted)).value(QStringLiteral("../data/patch-a.mpq")),
                 ArchiveState::Sound);
        // Zero-filled in place with its old time put back, as a copy that
        // keeps times leaves it: its change time, which nothing sets back, tells.
        const QDateTime modified = QFileInfo(rewritten).fileTime(QFileDevice::FileModificationTime);
        const std::optional<FileStamp> before = file_stamp(QStringLiteral("../Data/patch-a.mpq"));
        QThread::msleep(50);  // the system's clock for change times may step only every few milliseconds
        QVERIFY(rewritten.open(QIODevice::ReadWrite));
        QVERIFY(rewritten.seek(sound.size() / 2));
        QVERIFY(rewritten.write(QByteArray(sound.size() - sound.size() / 2, '\0')) == sound.size() - sound.size() / 2);
        QVERIFY(rewritten.setFileTime(modified, QFileDevice::FileModificationTime));
        rewritten.close();
        const std::optional<FileStamp> after = file_stamp(QStringLiteral("../Data/patch-a.mpq"));
        QVERIFY(before && after);
        QCOMPARE(after->modifiedNs, before->modifiedNs);
        QCOMPARE(after->size, before->size);
        const ArchiveReport blanked = check_patch_archives(list, planted);
        for (const ArchiveResult &r : blanked.results) {
            if (r.path != QLatin1String("../Data/patch-a.mpq"))
                continue;
            QVERIFY(!r.fromCache);
            QCOMPARE(r.check.state, ArchiveState::Damaged);
        }
        QCOMPARE(states(blanked).value(QStringLiteral("../data/patch-a.mpq")), ArchiveState::Damaged);

        // A file no longer there leaves the cache.
        QVERIFY(QFile::remove(game.path(QStringLiteral("Data/patch-b.mpq.disabled"))));
        check_patch_archives(list, planted);
        QCOMPARE(planted.size(), 3);
        QCOMPARE(ArchiveCache::deserialize("another format\n" + text).size(), 0);

        // A switch renames a file and leaves it as it was: its verdict and hash stay known.
        QCOMPARE(
            rename_no_replace(QStringLiteral("../Data/PATCH-C.MPQ.disabled"), QStringLiteral("../Data/PATCH-C.MPQ"))
                .status,
            RenameStatus::Renamed);
        const ArchiveReport switched = check_patch_archives(list, planted);
        bool found = false;
        for (const ArchiveResult &r : switched.results) {
            if (r.path != QLatin1String("../Data/PATCH-C.MPQ"))
                continue;
            found = true;
            QVERIFY(r.fromCache);
            QCOMPARE(r.check.state, ArchiveState::Changed);
        }
        QVERIFY(found);
        QCOMPARE(planted.size(), 3);
        // And it is kept under the stamp the rename left it, so the next check believes it too.
        for (const ArchiveResult &r : check_patch_archives(list, planted).results)
            QVERIFY2(r.fromCache, qPrintable(r.path));

        // A cache of the first format, before change times, is still read;
        // its entries match no file, so each is read afresh once.
        QList<QByteArray> oldLines = planted.serialize().split('\n');
        oldLines[0] = "tessarine archive cache 1";
        for (int i = 1; i < oldLines.size(); ++i) {
            QList<QByteArray> f = oldLines[i].split('\t');
            if (f.size() > 9)
                f.removeAt(9);
            oldLines[i] = f.join('\t');
        }
        ArchiveCache old = ArchiveCache::deserialize(oldLines.join('\n'));
        QCOMPARE(old.size(), 3);
        for (const ArchiveResult &r : check_patch_archives(list, old).results)
            QVERIFY2(!r.fromCache, qPrintable(r.path));
    }

    // The cache and the list are the program's own files: a link by the
    // cache's name is replaced, never written through, and a list is read
    // through a link only to a file inside the launcher's folder.
    void own_files_replace_links_and_are_read_only_inside()
    {
        GameFolder game;
        game.touch(QStringLiteral("wow.exe"));
        const QString cache = game.path(QStringLiteral("launcher/.config/archives.cache"));
        QString text;
        tess::cli::Output out(&text);
        for (const char *target : {"outside.cache", "nowhere.cache"}) {
            QFile::remove(cache);
            if (QLatin1String(target) == QLatin1String("outside.cache"))
                game.touch(QLatin1String(target), "keep");
            REQUIRE_SYMLINK(game.path(QLatin1String(target)), cache);
            QCOMPARE(tess::cli::check_command({}, out), 0);
            QVERIFY(!QFileInfo(cache).isSymLink());
            QVERIFY(read_all(cache).startsWith("tessarine archive cache"));
        }
        QCOMPARE(read_all(game.path(QStringLiteral("outside.cache"))), QByteArray("keep"));
        QVERIFY(!game.exists(QStringLiteral("nowhere.cache")));

        const QByteArray line = QByteArray(64, 'a') + "  Data/patch-a.mpq\n";
        const QString list = game.path(QStringLiteral("launcher/.config/archives.sha256"));
        game.touch(QStringLiteral("outside.sha256"), line);
        REQUIRE_SYMLINK(game.path(QStringLiteral("outside.sha256")), list);
        QCOMPARE(ChecksumList::read().size(), 0);
        QFile::remove(list);
        game.touch(QStringLiteral("launcher/lists/archives.sha256"), line);
        REQUIRE_SYMLINK(game.path(QStringLiteral("launcher/lists/archives.sha256")), list);
        QCOMPARE(ChecksumList::read().size(), 1);
        // A cache read through such a link is read too, and its file replaced at the save.
        ArchiveCache entries = ArchiveCache::deserialize(read_all(cache));
        CachedCheck entry;
        entry.check.state = ArchiveState::Sound;
        entries.put(QStringLiteral("../Data/patch-a.mpq"), entry);
        game.touch(QStringLiteral("launcher/lists/archives.cache"), entries.serialize());
        QFile::remove(cache);
        REQUIRE_SYMLINK(game.path(QStringLiteral("launcher/lists/archives.cache")), cache);
        QCOMPARE(ArchiveCache::load().size(), 1);
        QVERIFY(ArchiveCache().save());
        QVERIFY(!QFileInfo(cache).isSymLink());
        QCOMPARE(ArchiveCache::deserialize(read_all(game.path(QStringLiteral("launcher/lists/archives.cache")))).size(),
                 1);
    }

    void check_command_prints_a_line_per_archive_and_fails_on_any_broken_one()
    {
        require_tool();
        // Read while the working folder is still the build's (a Windows path without a drive is the current drive's).
        const QByteArray shippedRu = read_all(QStringLiteral(TESSARINE_SOURCE_DIR "/dist/.config/config_ru.json"));
        QVERIFY(!shippedRu.isEmpty());
        GameFolder game;
        const QByteArray sound = read_all(small_);
        game.touch(QStringLiteral("Data/patch-a.mpq"), sound);
        QString text;
        tess::cli::Output out(&text);
        QCOMPARE(tess::cli::check_command({}, out), 0);
        QCOMPARE(text,
                 QStringLiteral("Data/patch-a.mpq\tsound\tsound\n1 archives checked, 0 not sound\n")
                     .replace(QLatin1Char('/'), QDir::separator()));

        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq.disabled"), sound.left(sound.size() - 100));
        // The shipped Russian file with texts of its own for the check.
        Json ru = Json::parse(shippedRu.toStdString());
        ru["archive_check"] =
            Json::parse(R"({"cut_short": "обрезан: %1 из %2 МБ", "summary": "%1 проверено, %2 с ошибкой"})");
        game.touch(QStringLiteral("launcher/.config/config_ru.json"), QByteArray::fromStdString(ru.dump()));
        text.clear();
        QCOMPARE(tess::cli::check_command({QStringLiteral("ru")}, out), 1);
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        // 100 bytes short: the two sizes differ in the decimals shown, and each rounds its own size.
        const QString cutLine = lines
                                    .filter(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq.disabled\tcut-short\t")
                                                .replace(QLatin1Char('/'), QDir::separator()))
                                    .value(0);
        const QRegularExpressionMatch sizes =
            QRegularExpression(QStringLiteral("\tобрезан: ([0-9.]+) из ([0-9.]+) МБ$")).match(cutLine);
        QVERIFY2(sizes.hasMatch(), qPrintable(text));
        QVERIFY(sizes.captured(1) != sizes.captured(2));
        const int decimals = sizes.captured(1).size() - sizes.captured(1).indexOf(QLatin1Char('.')) - 1;
        QCOMPARE(sizes.captured(1), QString::number((sound.size() - 100) / 1048576.0, 'f', decimals));
        QCOMPARE(sizes.captured(2), QString::number(sound.size() / 1048576.0, 'f', decimals));
        QCOMPARE(lines.last(), QStringLiteral("2 проверено, 1 с ошибкой"));
    }

    void texts_say_sizes_in_megabytes_and_take_the_language_files()
    {
        ArchiveCheck cut;
        cut.state = ArchiveState::CutShort;
        cut.expectedBytes = quint64(1340) << 20;
        cut.actualBytes = quint64(812) << 20;
        QCOMPARE(describe(cut), QStringLiteral("cut short: 812 of 1,340 MB"));
        cut.expectedBytes = 400 * 1024;
        cut.actualBytes = 200 * 1024;
        QCOMPARE(describe(cut), QStringLiteral("cut short: 0.20 of 0.39 MB"));
        cut.expectedBytes = quint64(3) << 20;
        QCOMPARE(describe(cut), QStringLiteral("cut short: 0.2 of 3.0 MB"));
        // A few bytes short reads as short, never as the whole size twice.
        cut.expectedBytes = quint64(1340) << 20;
        cut.actualBytes = cut.expectedBytes - 100;
        QCOMPARE(describe(cut), QStringLiteral("cut short: 1,339.9999 of 1,340.0000 MB"));
        cut.expectedBytes = 20000;
        cut.actualBytes = 19900;
        QCOMPARE(describe(cut), QStringLiteral("cut short: 0.0190 of 0.0191 MB"));
        cut.expectedBytes = 304000;
        cut.actualBytes = 300000;
        QCOMPARE(describe(cut), QStringLiteral("cut short: 0.286 of 0.290 MB"));
        cut.actualBytes = 303990;
        QCOMPARE(describe(cut), QStringLiteral("cut short: 0.28991 of 0.28992 MB"));

        ArchiveCheck sector;
        sector.state = ArchiveState::Damaged;
        sector.part = ArchivePart::SectorTable;
        sector.fault = ArchiveFault::NotAscending;
        sector.entry = 12;
        QCOMPARE(describe(sector), QStringLiteral("damaged: the sector table of file 12 is not ascending"));
        ArchiveCheck flags = sector;
        flags.part = ArchivePart::BlockTable;
        flags.fault = ArchiveFault::BadFlags;
        QCOMPARE(describe(flags), QStringLiteral("damaged: the block table has impossible flags (entry 12)"));

        const Json doc = Json::parse(R"({"archive_check": {"cut_short": "обрезан: %1 из %2 МБ", "changed": 5}})");
        const ArchiveTexts texts = archive_texts(doc);
        cut.expectedBytes = quint64(1340) << 20;
        cut.actualBytes = quint64(812) << 20;
        QCOMPARE(describe(cut, texts), QStringLiteral("обрезан: 812 из 1,340 МБ"));
        ArchiveCheck changed;
        changed.state = ArchiveState::Changed;
        QCOMPARE(describe(changed, texts), QStringLiteral("changed since it was shipped"));
        QCOMPARE(describe(changed, archive_texts(Json::parse("[]"))), QStringLiteral("changed since it was shipped"));

        // The shipped Russian file says it in Russian, part and fault too.
        const Json ru =
            Json::parse(read_all(QStringLiteral(TESSARINE_SOURCE_DIR "/dist/.config/config_ru.json")).toStdString());
        QCOMPARE(describe(cut, archive_texts(ru)), QStringLiteral("обрезан: 812 из 1,340 МБ"));
        QCOMPARE(describe(sector, archive_texts(ru)),
                 QStringLiteral("повреждён: таблица секторов файла 12 не возрастает"));
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "test_archive.moc"
