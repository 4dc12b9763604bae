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

    void colon_and_capitals_read_and_write_back_lower_case()
    {
        const auto r = IniSettings::parse("[SETTINGS]\nVolume: 30\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("SETTINGS"), QStringLiteral("volume")), std::optional<QString>("30"));
        QCOMPARE(r.settings.toText(), lines({"[SETTINGS]", "volume = 30", ""}));
    }

    void comments_and_blank_lines_are_dropped_and_values_trimmed()
    {
        const auto r = IniSettings::parse("# a comment\n\n[SETTINGS]\n  ; another\nvolume   =   42   \r\n\n[Other]\nKey=a = b\n");
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
    }

    void continuation_lines_extend_the_value()
    {
        const auto r = IniSettings::parse("[S]\nkey = first\n   second\n\nnext = 2\n");
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.settings.value(QStringLiteral("S"), QStringLiteral("key")), std::optional<QString>("first\nsecond"));
        QCOMPARE(r.settings.toText(), lines({"[S]", "key = first", "\tsecond", "next = 2", ""}));
    }

    void malformed_text_keeps_what_was_read_before_the_fault_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("sections");
        QTest::newRow("key before section") << QByteArray("volume = 3\n[SETTINGS]\nvolume = 4\n") << QStringList{};
        QTest::newRow("section twice") << QByteArray("[SETTINGS]\nvolume = 3\n[SETTINGS]\nvolume = 4\n")
                                       << QStringList{"SETTINGS"};
        QTest::newRow("key twice") << QByteArray("[A]\nx = 1\n[SETTINGS]\nvolume = 3\nVOLUME = 4\n")
                                   << QStringList{"A", "SETTINGS"};
        QTest::newRow("line without delimiter") << QByteArray("[SETTINGS]\njunk\nvolume = 3\n")
                                                << QStringList{"SETTINGS"};
    }
    void malformed_text_keeps_what_was_read_before_the_fault()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, sections);
        const auto r = IniSettings::parse(text);
        QVERIFY(!r.error.isEmpty());
        QStringList names;
        for (const auto &s : r.settings.sections())
            names << s.name;
        QCOMPARE(names, sections);
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
