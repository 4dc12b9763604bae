#include "media/ini.h"
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
#ifdef Q_OS_WIN
        QCOMPARE(text.size(), 27);
#else
        QCOMPARE(text.size(), 24);
#endif
    }

    // Bytes that are not UTF-8 (a value typed in another code page) and
    // characters past the Basic Multilingual Plane come back as they were.
    void values_keep_their_bytes()
    {
        const QByteArray value = "caf\xe9 \xf0\x9f\x92\xbe \xff\xfe";
        const auto r = IniSettings::parse("[SETTINGS]\nname = " + value + "\nvolume = 20\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.toText(), "[SETTINGS]" + nl() + "name = " + value + nl() + "volume = 20" + nl() + nl());
    }

    void colon_and_capitals_read_and_write_back_lower_case()
    {
        const auto r = IniSettings::parse("[SETTINGS]\nVolume: 30\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::optional<QString>("30"));
        QCOMPARE(r.settings.toText(), lines({"[SETTINGS]", "volume = 30", ""}));
    }

    void comments_and_blank_lines_are_dropped_and_values_trimmed()
    {
        const auto r =
            IniSettings::parse("# a comment\n\n[SETTINGS]\n  ; another\nvolume   =   42   \r\n\n[Other]\nKey=a = b\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.toText(), lines({"[SETTINGS]", "volume = 42", "", "[Other]", "key = a = b", ""}));
    }

    void section_names_keep_their_case()
    {
        const auto r = IniSettings::parse("[settings]\nvolume = 5\n");
        QVERIFY(!r.settings.hasSection(QStringLiteral("SETTINGS")));
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::nullopt);
    }

    void default_keys_are_seen_everywhere_and_written_first()
    {
        const auto r = IniSettings::parse("[SETTINGS]\nother = 1\n[DEFAULT]\nVolume = 55\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::optional<QString>("55"));
        QCOMPARE(r.settings.toText(), lines({"[DEFAULT]", "volume = 55", "", "[SETTINGS]", "other = 1", ""}));
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
        QCOMPARE(r.settings.toText(), lines({"[S]", "key = first", "\tsecond", "next = 2", ""}));
    }

    // A fault is reported and the rest of the file read: nothing but the bad
    // line vanishes at the next save. A section or key given again continues
    // the first, and the later value wins.
    void faults_are_reported_and_the_rest_kept_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("key before section")
            << QByteArray("volume = 3\n[SETTINGS]\nvolume = 4\n") << lines({"[SETTINGS]", "volume = 4", ""});
        QTest::newRow("line without delimiter")
            << QByteArray("[SETTINGS]\njunk\nvolume = 3\n[B]\n") << lines({"[SETTINGS]", "volume = 3", "", "[B]", ""});
        QTest::newRow("NUL") << QByteArray("[SETTINGS]\nvolume = 3\n") + '\0' + "junk\n[Other]\nkey = x\n"
                             << lines({"[SETTINGS]", "volume = 3", "", "[Other]", "key = x", ""});
        QTest::newRow("section twice") << QByteArray("[A]\nx = 1\n[SETTINGS]\nvolume = 3\n[A]\ny = 2\nx = 4\n")
                                       << lines({"[A]", "x = 4", "y = 2", "", "[SETTINGS]", "volume = 3", ""});
        QTest::newRow("key twice") << QByteArray("[A]\nx = 1\ny = 2\nX = 3\n[SETTINGS]\nvolume = 3\n")
                                   << lines({"[A]", "x = 3", "y = 2", "", "[SETTINGS]", "volume = 3", ""});
    }
    void faults_are_reported_and_the_rest_kept()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, saved);
        const auto r = IniSettings::parse(text);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(r.settings.toText(), saved);
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

    void set_value_adds_missing_sections_and_keys()
    {
        IniSettings s = IniSettings::parse("[Other]\nx = 1\n").settings;
        s.setValue(QStringLiteral("SETTINGS"), QStringLiteral("Volume"), QStringLiteral("7"));
        s.setValue(QStringLiteral("SETTINGS"), QStringLiteral("volume"), QStringLiteral("8"));
        QCOMPARE(s.toText(), lines({"[Other]", "x = 1", "", "[SETTINGS]", "volume = 8", ""}));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "test_ini.moc"
