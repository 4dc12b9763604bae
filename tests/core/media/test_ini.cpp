#include "core/media/ini.h"
#include "core/media/settings_file.h"
#include "system/system.h"
#include "support/gamefolder.h"

#include <QtTest>

using namespace tess;

namespace {
QByteArray nl() { return expected_line_end(); }
QByteArray lines(std::initializer_list<const char *> parts)
{
    QByteArray out;
    for (const char *p : parts)
        out += QByteArray(p) + nl();
    return out;
}
}  // namespace

class TestIni : public QObject
{
    Q_OBJECT

private slots:
    void default_settings_have_the_exact_bytes()
    {
        IniSettings s;
        s.setValue(QStringLiteral("SETTINGS"), QStringLiteral("volume"), QStringLiteral("10"));
        const QByteArray text = s.toText();
        QCOMPARE(text, QByteArray("[SETTINGS]") + nl() + "volume = 10" + nl() + nl());
        QCOMPARE(text.size(), kWindows ? 27 : 24);
    }

    // Bytes that are not UTF-8 (a value typed in another code page) and
    // characters past the Basic Multilingual Plane come back as they were.
    void values_keep_their_bytes()
    {
        const QByteArray value = "caf\xe9 \xf0\x9f\x92\xbe \xff\xfe";
        const auto r = IniSettings::parse("[SETTINGS]\nname = " + value + "\nvolume = 20\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("name")), decode_local(value));
        IniSettings changed = r.settings;
        changed.setValue(QStringLiteral("SETTINGS"), QStringLiteral("name"), decode_local(value + " 2"));
        QCOMPARE(changed.toText(), "[SETTINGS]\nname = " + value + " 2\nvolume = 20\n");
    }

    void colon_capitals_comments_and_spaces_are_read()
    {
        const auto r =
            IniSettings::parse("# a comment\n\n[SETTINGS]\n  ; another\nVolume   :   42   \r\n\n[Other]\nKey=a = b\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::optional<QString>("42"));
        QCOMPARE(r.settings.value(QStringLiteral("Other"), QStringLiteral("KEY")), std::optional<QString>("a = b"));
    }

    void section_names_keep_their_case()
    {
        const auto r = IniSettings::parse("[settings]\nvolume = 5\n");
        QVERIFY(!r.settings.hasSection(QStringLiteral("SETTINGS")));
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::nullopt);
    }

    void default_keys_are_seen_everywhere()
    {
        const auto r = IniSettings::parse("[SETTINGS]\nother = 1\n[DEFAULT]\nVolume = 55\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::optional<QString>("55"));
        // It lends keys to the sections there are, and makes none.
        QCOMPARE(IniSettings::parse("[DEFAULT]\nvolume = 55\n")
                     .settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")),
                 std::nullopt);
    }

    void continuation_lines_extend_the_value()
    {
        const auto r = IniSettings::parse("[S]\nkey = first\n   second\n\nnext = 2\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("S"), QStringLiteral("key")), std::optional<QString>("first\nsecond"));
        // A new value takes the place of all the lines of the old one.
        IniSettings changed = r.settings;
        changed.setValue(QStringLiteral("S"), QStringLiteral("key"), QStringLiteral("one\ntwo"));
        QCOMPARE(changed.toText(), QByteArray("[S]\nkey = one\n\ttwo\n\nnext = 2\n"));
        QCOMPARE(IniSettings::parse(changed.toText()).settings.value(QStringLiteral("S"), QStringLiteral("key")),
                 std::optional<QString>("one\ntwo"));
    }

    // A fault is reported and the rest of the file read; nothing of it
    // vanishes at the next save, the bad line included. A section or key
    // given again continues the first, and the later value wins: a new value
    // replaces that later line.
    void faults_are_reported_and_the_rest_kept_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("saved");  // with volume 9
        QTest::newRow("key before section")
            << QByteArray("volume = 3\n[SETTINGS]\nvolume = 4\n") << QByteArray("volume = 3\n[SETTINGS]\nvolume = 9\n");
        QTest::newRow("line without delimiter")
            << QByteArray("[SETTINGS]\njunk\nvolume = 3\n[B]\n") << QByteArray("[SETTINGS]\njunk\nvolume = 9\n[B]\n");
        QTest::newRow("NUL") << QByteArray("[SETTINGS]\nvolume = 3\n") + '\0' + "junk\n[Other]\nkey = x\n"
                             << QByteArray("[SETTINGS]\nvolume = 9\n") + '\0' + "junk\n[Other]\nkey = x\n";
        QTest::newRow("section twice") << QByteArray("[SETTINGS]\nvolume = 1\n[A]\nx = 1\n[SETTINGS]\nvolume = 3\n")
                                       << QByteArray("[SETTINGS]\nvolume = 1\n[A]\nx = 1\n[SETTINGS]\nvolume = 9\n");
        QTest::newRow("section twice, key missing")
            << QByteArray("[SETTINGS]\nx = 1\n[A]\n[SETTINGS]\ny = 2\n[B]\n")
            << QByteArray("[SETTINGS]\nx = 1\n[A]\n[SETTINGS]\ny = 2\nvolume = 9\n[B]\n");
        QTest::newRow("key twice") << QByteArray("[SETTINGS]\nvolume = 1\ny = 2\nVolume = 3\n")
                                   << QByteArray("[SETTINGS]\nvolume = 1\ny = 2\nVolume = 9\n");
    }
    void faults_are_reported_and_the_rest_kept()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, saved);
        IniSettings::ParseResult r = IniSettings::parse(text);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(r.settings.toText(), text);
        r.settings.setValue(QStringLiteral("SETTINGS"), QStringLiteral("volume"), QStringLiteral("9"));
        QCOMPARE(r.settings.toText(), saved);
    }

    // Only the line of the value that is set changes; every other byte stays:
    // comments, blank lines, spacing, line ends, bytes that are not UTF-8,
    // sections and keys the launcher does not know. A missing key is added
    // in the style of its neighbours.
    void a_save_changes_only_the_volume_line_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray head =
            "; settings\r\n# by hand\r\n\r\n[Player]\r\nname = caf\xe9\r\nShuffle =yes  \r\n\r\n[SETTINGS]\r\n";
        const QByteArray tail = "\r\n  ; after\r\nother\t:\tx\r\n\r\n[Unknown]\r\nk = \xff\xfe\r\n";
        QTest::newRow("comments, spacing, CRLF, other bytes")
            << head + "Volume   :\t40 " + tail << head + "Volume   :\t55 " + tail;
        QTest::newRow("unchanged value") << QByteArray("[SETTINGS]\nVolume: 55\n# end")
                                         << QByteArray("[SETTINGS]\nVolume: 55\n# end");
        QTest::newRow("continued value") << QByteArray("[SETTINGS]\nvolume = 1\n  2\n\n# mine\n  3\n\nnext = 4\n")
                                         << QByteArray("[SETTINGS]\nvolume = 55\n# mine\n\nnext = 4\n");
        QTest::newRow("key missing") << QByteArray("[SETTINGS]\r\n  name :  x\r\n\r\n; next\r\n[B]\r\n")
                                     << QByteArray(
                                            "[SETTINGS]\r\n  name :  x\r\n  volume :  55\r\n\r\n; next\r\n[B]\r\n");
        QTest::newRow("key only under DEFAULT") << QByteArray("[DEFAULT]\nvolume=100\n\n[SETTINGS]\n")
                                                << QByteArray("[DEFAULT]\nvolume=100\n\n[SETTINGS]\nvolume=55\n");
        QTest::newRow("section missing, no line end at the end")
            << QByteArray("; only\r\n[A]\r\nx=1")
            << QByteArray("; only\r\n[A]\r\nx=1\r\n\r\n[SETTINGS]\r\nvolume=55\r\n\r\n");
        QTest::newRow("empty file") << QByteArray() << lines({"[SETTINGS]", "volume = 55", ""});
    }
    void a_save_changes_only_the_volume_line()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, saved);
        IniSettings s = IniSettings::parse(text).settings;
        QCOMPARE(s.toText(), text);
        s.setValue(QStringLiteral("SETTINGS"), QStringLiteral("Volume"), QStringLiteral("55"));
        QCOMPARE(s.toText(), saved);
        QCOMPARE(IniSettings::parse(saved).settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")),
                 std::optional<QString>("55"));
    }

    void huge_files_parse_in_linear_time_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("sections");
        QTest::addColumn<int>("keys");
        QByteArray keys = "[SETTINGS]\n", sections;
        for (int i = 0; i < 80000; ++i) {
            keys += "k" + QByteArray::number(i) + " = 1\n";
            sections += "[s" + QByteArray::number(i) + "]\n";
        }
        QTest::newRow("1,000,000 spaces in a line") << "[SETTINGS]\na" + QByteArray(1000000, ' ') + "b\n" << 1 << 0;
        QTest::newRow("80,000 keys") << keys << 1 << 80000;
        QTest::newRow("80,000 sections") << sections << 80000 << 0;
    }
    void huge_files_parse_in_linear_time()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, sections);
        QFETCH(int, keys);
        QElapsedTimer timer;
        timer.start();
        const auto r = IniSettings::parse(text);
        // A linear pass takes well under a second on these; a quadratic one, minutes.
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(r.settings.sections().size(), sections);
        int found = 0;
        for (const auto &s : r.settings.sections())
            found += s.items.size();
        QCOMPARE(found, keys);
    }

    // Editors on Windows mark a file saved as UTF-8 with a byte order mark:
    // the reading starts past it, and every save keeps it.
    void a_byte_order_mark_is_read_past_and_kept()
    {
        const QByteArray mark = "\xEF\xBB\xBF";
        const auto r = IniSettings::parse(mark + "[SETTINGS]\r\nvolume = 30\r\n");
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::optional<QString>("30"));
        IniSettings s = r.settings;
        s.setValue(QStringLiteral("SETTINGS"), QStringLiteral("volume"), QStringLiteral("40"));
        QCOMPARE(s.toText(), mark + "[SETTINGS]\r\nvolume = 40\r\n");
        // Also when the first line goes.
        const IniSettings healed = IniSettings::parse(mark + "volume = 1\n[SETTINGS]\nvolume = 2\n")
                                       .settings.withSole(QStringLiteral("SETTINGS"), QStringLiteral("volume"));
        QCOMPARE(healed.toText(), mark + "[SETTINGS]\nvolume = 2\n");
    }

    // A volume that readers could take differently starts at the default; the
    // save heals the file so that the next start reads the volume set, with
    // every other line kept.
    void damaged_settings_heal_at_the_save_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<QByteArray>("saved");  // with volume 45
        QTest::newRow("key twice") << QByteArray("[SETTINGS]\r\nvolume = 30\r\nvolume = 40\r\n") << 10
                                   << QByteArray("[SETTINGS]\r\nvolume = 45\r\n");
        QTest::newRow("section twice, continued value")
            << QByteArray(
                   "[SETTINGS]\nvolume = 30\n  3\n[A]\nx = 1\n; the second\n[SETTINGS]\nvolume = 40\n  4\ny = 2\n")
            << 10 << QByteArray("[SETTINGS]\nvolume = 45\ny = 2\n[A]\nx = 1\n; the second\n");
        QTest::newRow("volume before any section")
            << QByteArray("volume = 30\n[SETTINGS]\nvolume = 40\n") << 10 << QByteArray("[SETTINGS]\nvolume = 45\n");
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[SETTINGS]\nvolume = 30\n") << 30
                                         << QByteArray("\xEF\xBB\xBF[SETTINGS]\nvolume = 45\n");
        QTest::newRow("a fault elsewhere") << QByteArray("junk\n[SETTINGS]\nvolume = 30\n[B]\nk = 1\nk = 2\n") << 30
                                           << QByteArray("junk\n[SETTINGS]\nvolume = 45\n[B]\nk = 1\nk = 2\n");
    }
    void damaged_settings_heal_at_the_save()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, start);
        QFETCH(QByteArray, saved);
        GameFolder game;
        const QString path = QStringLiteral(".config/mediaplayer.ini");
        game.touch(QStringLiteral("launcher/") + path, text);
        SettingsFile file = SettingsFile::load(path);
        QCOMPARE(file.volume(), start);
        file.setVolume(45);
        const SettingsSave result = file.save(path);
        QVERIFY2(result.written, qPrintable(result.error));
        QCOMPARE(game.read(QStringLiteral("launcher/") + path), saved);
        const SettingsFile again = SettingsFile::load(path);
        QCOMPARE(again.volume(), 45);
        QVERIFY(again.settings().isSole(QStringLiteral("SETTINGS"), QStringLiteral("volume")));
        // Nothing is left beside the file.
        QCOMPARE(game.names(QStringLiteral("launcher/.config")), QStringList{"mediaplayer.ini"});
    }

    void set_value_adds_missing_sections_and_keys()
    {
        IniSettings s = IniSettings::parse("[Other]\nx = 1\n").settings;
        s.setValue(QStringLiteral("SETTINGS"), QStringLiteral("Volume"), QStringLiteral("7"));
        s.setValue(QStringLiteral("SETTINGS"), QStringLiteral("volume"), QStringLiteral("8"));
        QCOMPARE(s.toText(), QByteArray("[Other]\nx = 1\n\n[SETTINGS]\nvolume = 8\n\n"));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "test_ini.moc"
