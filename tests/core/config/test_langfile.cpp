#include "core/config/langfile.h"
#include "core/config/notice_texts.h"
#include "core/patches/rows.h"
#include "support/languagefile.h"

#include <QFile>
#include <QTextCodec>
#include <QtTest>

using namespace tess;

namespace {

// The shared example, with the forms the validator must also take: the
// all-patches choices as an object and a flag given as a digit text.
QByteArray valid_file()
{
    Json doc = Json::parse(example_language_file().toStdString());
    doc["patches"]["static"]["allpatches"]["actions"] = Json::parse(R"({"All on": 0, "Defaults": 0, "All off": 0})");
    doc["patches"]["static"]["default"][1][1] = "0";
    return QByteArray::fromStdString(doc.dump());
}

// The file with one member replaced; `pointer` is a JSON pointer.
QByteArray with(const char *pointer, const Json &value)
{
    Json doc = Json::parse(valid_file().toStdString());
    doc[Json::json_pointer(pointer)] = value;
    return QByteArray::fromStdString(doc.dump());
}

QByteArray without(const char *parent, const char *member)
{
    Json doc = Json::parse(valid_file().toStdString());
    doc[Json::json_pointer(parent)].erase(member);
    return QByteArray::fromStdString(doc.dump());
}

// The valid file with JSON text as an extra, ignored member; made as text,
// since a deep value cannot be built by recursion without the fault it tests.
QByteArray with_extra(const QByteArray &json) { return "{\"extra\": " + json + "," + valid_file().mid(1); }

QByteArray nested(int levels) { return QByteArray(levels, '[') + QByteArray(levels, ']'); }

// An object of distinct keys: the worst case for a linear key search.
QByteArray wide_object(int members)
{
    QByteArray out = "{";
    for (int i = 0; i < members; ++i)
        out += (i ? ",\"k" : "\"k") + QByteArray::number(i) + "\":0";
    return out + "}";
}

// Qt's UTF-32 encoder splits characters beyond the BMP into their
// surrogates, so UTF-32 fixtures are written here.
QByteArray utf32(const QString &text, bool bigEndian, bool bom)
{
    QByteArray out;
    QVector<uint> units = text.toUcs4();
    if (bom)
        units.prepend(0xFEFF);
    for (uint u : units)
        for (int i = 0; i < 4; ++i)
            out.append(char((u >> (8 * (bigEndian ? 3 - i : i))) & 0xFF));
    return out;
}

QByteArray encode(const QString &text, const char *codec, bool bom)
{
    if (qstrcmp(codec, "UTF-32LE") == 0 || qstrcmp(codec, "UTF-32BE") == 0)
        return utf32(text, qstrcmp(codec, "UTF-32BE") == 0, bom);
    QTextCodec::ConverterState state(bom ? QTextCodec::DefaultConversion : QTextCodec::IgnoreHeader);
    return QTextCodec::codecForName(codec)->fromUnicode(text.constData(), text.size(), &state);
}

// The members of `notices`, as server owners write them.
const char *const kNoticeMembers[] = {
    "not_game_folder", "game_running",  "probe_missing",     "switch_failed", "launch_failed",
    "cleaned",         "clean_stopped", "link_failed",       "access_denied", "in_use",
    "read_only",       "missing",       "folder_in_the_way", "no_wine",       "admin_hint",
};

QStringList notice_fields(const NoticeTexts &t)
{
    return {t.notGameFolder, t.gameRunning,  t.probeMissing,   t.switchFailed, t.launchFailed,
            t.cleaned,       t.cleanStopped, t.linkFailed,     t.accessDenied, t.inUse,
            t.readOnly,      t.missing,      t.folderInTheWay, t.noWine,       t.adminHint};
}

// "%1", "%2" in the order they stand.
QStringList placeholders(const QString &text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%[0-9]")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

}  // namespace

class TestLangfile : public QObject
{
    Q_OBJECT

private slots:
    void titles_lose_every_parenthesised_group_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("size");
        QTest::newRow("marker") << "Interface fonts (11)"
                                << "Interface fonts "
                                << "11pt";
        QTest::newRow("no marker") << "DXVK"
                                   << "DXVK"
                                   << "10pt";
        QTest::newRow("note and marker") << "Name (note) (12)"
                                         << "Name  "
                                         << "12pt";
        QTest::newRow("first marker wins") << "A (9) B (14)"
                                           << "A  B "
                                           << "9pt";
        QTest::newRow("group not a marker") << "A (1x)"
                                            << "A "
                                            << "10pt";
        QTest::newRow("unclosed stays") << "A (12"
                                        << "A (12"
                                        << "10pt";
        QTest::newRow("nearest closing") << "A (x (12) y)"
                                         << "A  y)"
                                         << "12pt";
        QTest::newRow("empty group") << "A ()"
                                     << "A "
                                     << "10pt";
    }
    void titles_lose_every_parenthesised_group()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, size);
        QCOMPARE(row_title(name), title);
        QCOMPARE(row_font_size(name), size);
    }

    void empty_values_are_the_false_ones()
    {
        for (const char *text : {"null", "false", "0", "0.0", "\"\"", "[]", "{}"})
            QVERIFY2(is_empty(Json::parse(text)), text);
        for (const char *text : {"true", "1", "-1", "0.5", "\" \"", "[0]", "{\"a\":0}", "\"0\""})
            QVERIFY2(!is_empty(Json::parse(text)), text);
    }

    void three_forms_of_no_conditions()
    {
        for (const char *text : {R"([[], ["a11", "x"]])", R"(["", ["a11", "x"]])", R"([null, ["a11", "x"]])"})
            QVERIFY2(conditions_of(Json::parse(text)).empty(), text);
        const auto one = conditions_of(Json::parse(R"([["a11|b10", "hint"], []])"));
        QCOMPARE(one.size(), size_t(1));
        QCOMPARE(one[0].alternatives, (QStringList{"a11", "b10"}));
        QCOMPARE(one[0].hint, QStringLiteral("hint"));
    }

    void alternatives_need_two_matching_digits()
    {
        PatchStatusMap status;
        status.set(QStringLiteral("a"), {1, 1});
        status.set(QStringLiteral("b"), {1, 0});
        QVERIFY(alternative_holds(QStringLiteral("a11"), status));
        QVERIFY(!alternative_holds(QStringLiteral("a1"), status));
        QVERIFY(!alternative_holds(QStringLiteral("a111"), status));
        QVERIFY(!alternative_holds(QStringLiteral("a10"), status));
        QVERIFY(alternative_holds(QStringLiteral("b10"), status));
        QVERIFY(!alternative_holds(QStringLiteral("c00") + QStringLiteral("0"), status));
        QVERIFY(alternative_holds(QStringLiteral("c00"), status));
        QVERIFY(condition_holds({{QStringLiteral("a00"), QStringLiteral("b10")}, QString()}, status));
        QVERIFY(!condition_holds({{QStringLiteral("a00"), QStringLiteral("b11")}, QString()}, status));
        // A space is a character of the alternative, never trimmed.
        QVERIFY(!alternative_holds(QStringLiteral(" a11"), status));
    }

    void default_triples_read_strings_numbers_and_digit_texts()
    {
        const auto t = default_triples(Json::parse(R"(["b00", ["b", "0", 0], ["c", 1.9, -1.9], "a11xyz"])"));
        QCOMPARE(t.size(), size_t(4));
        QCOMPARE(t[0].letter, QStringLiteral("b"));
        QCOMPARE((std::pair{t[0].data, t[0].locale}), (std::pair{0, 0}));
        QCOMPARE((std::pair{t[1].data, t[1].locale}), (std::pair{0, 0}));
        QCOMPARE((std::pair{t[2].data, t[2].locale}), (std::pair{1, -1}));
        QCOMPARE((std::pair{t[3].data, t[3].locale}), (std::pair{1, 1}));
    }

    void member_order_decides_choices_and_rows()
    {
        const LanguageFile f = read_language_file(
            with("/patches/dynamic", Json::parse(R"({"z": {"name": "Z", "actions": {"Off": [0, 0], "On": [1, 1]},
                                                          "conditions": [[]]},
                                                    "a": {"name": "A", "actions": {"On": [1, 1]}, "conditions": [[]]}})")));
        QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        QStringList keys;
        for (auto it = f.doc["patches"]["dynamic"].begin(); it != f.doc["patches"]["dynamic"].end(); ++it)
            keys << QString::fromStdString(it.key());
        QCOMPARE(keys, (QStringList{"z", "a"}));
        const auto choices = patch_choices(f.doc["patches"]["dynamic"]["z"]["actions"]);
        QCOMPARE(choices.at(0).text, QStringLiteral("Off"));
        QCOMPARE(choices.at(1).status, (std::vector<int>{1, 1}));
        QCOMPARE(action_texts(f.doc["patches"]["static"]["allpatches"]["actions"]),
                 (QStringList{"All on", "Defaults", "All off"}));
    }

    void every_encoding_reads_the_same_document_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text =
            QString::fromUtf8(valid_file()).replace(QStringLiteral("Patch A"), QStringLiteral("Патч А 😀"));
        QTest::newRow("utf-8") << text.toUtf8();
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        for (const char *codec : {"UTF-16LE", "UTF-16BE", "UTF-32LE", "UTF-32BE"}) {
            QTest::newRow(codec) << encode(text, codec, false);
            QTest::newRow((QByteArray(codec) + " bom").constData()) << encode(text, codec, true);
        }
    }
    void every_encoding_reads_the_same_document()
    {
        QFETCH(QByteArray, bytes);
        const LanguageFile f = read_language_file(bytes);
        QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        QCOMPARE(to_qstring(f.doc["patches"]["dynamic"]["a"]["name"]), QStringLiteral("Патч А 😀"));
    }

    void boms_are_written_where_asked()
    {
        QVERIFY(encode(QStringLiteral("{}"), "UTF-16LE", true).startsWith("\xFF\xFE"));
        QVERIFY(!encode(QStringLiteral("{}"), "UTF-16LE", false).startsWith("\xFF\xFE"));
    }

    void invalid_sequences_are_refused()
    {
        QVERIFY(!decode_text(QByteArray("{\"a\": \"\xC3\x28\"}")).error.isEmpty());
        QVERIFY(!decode_text(QByteArray("{\"a\": \"\xED\xA0\x80\"}")).error.isEmpty());  // encoded surrogate
        // A lone high surrogate in UTF-16LE.
        QByteArray lone = encode(QStringLiteral("{\"a\": \"x\"}"), "UTF-16LE", false);
        lone.replace(QByteArray("x\0", 2), QByteArray("\x00\xD8", 2));
        QVERIFY(!read_language_file(lone).error.isEmpty());
        QVERIFY(!read_language_file("{\"buttons\": ").error.isEmpty());
        QVERIFY(!read_language_file(QByteArray()).error.isEmpty());
    }

    void broken_files_are_refused_naming_the_member_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("where");
        QTest::newRow("no buttons") << without("", "buttons") << "/buttons";
        QTest::newRow("two buttons") << with("/buttons", Json::parse(R"(["a", "b"])")) << "/buttons";
        QTest::newRow("button not text") << with("/buttons/2", 3) << "/buttons/2";
        QTest::newRow("no patches") << without("", "patches") << "/patches";
        QTest::newRow("static not object") << with("/patches/static", Json::array()) << "/patches/static";
        QTest::newRow("no fonts") << without("/patches/static", "fonts") << "/patches/static/fonts";
        QTest::newRow("fonts one text") << with("/patches/static/fonts/actions", Json::parse(R"(["On"])"))
                                        << "/patches/static/fonts/actions";
        QTest::newRow("dxvk two texts") << with("/patches/static/dxvk/actions", Json::parse(R"(["a", "b"])"))
                                        << "/patches/static/dxvk/actions";
        QTest::newRow("fixed name not text") << with("/patches/static/dxvk/name", 5) << "/patches/static/dxvk/name";
        QTest::newRow("no default") << without("/patches/static", "default") << "/patches/static/default";
        QTest::newRow("default letter") << with("/patches/static/default/0", "411") << "/patches/static/default/0";
        QTest::newRow("default flag") << with("/patches/static/default/0", "a1x") << "/patches/static/default/0";
        QTest::newRow("default short") << with("/patches/static/default/1", Json::parse(R"(["b", 0])"))
                                       << "/patches/static/default/1";
        QTest::newRow("default flag text")
            << with("/patches/static/default/1/1", "one") << "/patches/static/default/1/1";
        QTest::newRow("default huge flag")
            << with("/patches/static/default/1/1", 1e300) << "/patches/static/default/1/1";
        QTest::newRow("letter outside") << with("/patches/dynamic/A", Json::parse(R"({"name": "X",
                                               "actions": {"On": [1, 1]}, "conditions": [[]]})"))
                                        << "/patches/dynamic/A";
        QTest::newRow("digit below five") << with("/patches/dynamic/3", Json::parse(R"({"name": "X",
                                                 "actions": {"On": [1, 1]}, "conditions": [[]]})"))
                                          << "/patches/dynamic/3";
        QTest::newRow("actions array") << with("/patches/dynamic/a/actions", Json::parse(R"(["On"])"))
                                       << "/patches/dynamic/a/actions";
        QTest::newRow("pair short") << with("/patches/dynamic/a/actions/On", Json::parse("[1]"))
                                    << "/patches/dynamic/a/actions/On";
        QTest::newRow("pair two") << with("/patches/dynamic/a/actions/On", Json::parse("[1, 2]"))
                                  << "/patches/dynamic/a/actions/On";
        QTest::newRow("no conditions") << without("/patches/dynamic/a", "conditions")
                                       << "/patches/dynamic/a/conditions";
        QTest::newRow("empty conditions")
            << with("/patches/dynamic/a/conditions", Json::array()) << "/patches/dynamic/a/conditions";
        QTest::newRow("alt non-digit") << with("/patches/dynamic/b/conditions/0/0", "a1x")
                                       << "/patches/dynamic/b/conditions/0/0";
        QTest::newRow("alt letter") << with("/patches/dynamic/b/conditions/0/0", "A11")
                                    << "/patches/dynamic/b/conditions/0/0";
        for (const char *alt : {"a11||a10", "|a11", "a11|"})
            QTest::newRow(alt) << with("/patches/dynamic/b/conditions/0/0", alt) << "/patches/dynamic/b/conditions/0/0";
        QTest::newRow("no hint") << with("/patches/dynamic/b/conditions/0", Json::parse(R"(["a11"])"))
                                 << "/patches/dynamic/b/conditions/0";
        QTest::newRow("hint not text") << with("/patches/dynamic/b/conditions/0/1", 7)
                                       << "/patches/dynamic/b/conditions/0/1";
        QTest::newRow("entry not object") << with("/patches/dynamic/c", "x") << "/patches/dynamic/c";
        QTest::newRow("name missing") << without("/patches/dynamic/a", "name") << "/patches/dynamic/a/name";
    }
    void broken_files_are_refused_naming_the_member()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, where);
        const LanguageFile f = read_language_file(bytes);
        QVERIFY2(f.error.startsWith(where + QStringLiteral(": ")), qPrintable(f.error));
    }

    void files_beyond_the_bounds_are_refused_before_parsing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");  // empty: the file passes
        const QByteArray condition = "\"Needs patch A\"]";
        QTest::newRow("120,000-deep member") << ("{\"a\":" + nested(120000) + ",\"b\":0}") << "вложенность";
        QTest::newRow("deep third element of a condition")
            << QByteArray(valid_file()).replace(condition, "\"Needs patch A\", " + nested(kMaxNesting) + "]")
            << "вложенность";
        QTest::newRow("1,000,000-deep third element of a condition")
            << QByteArray(valid_file()).replace(condition, "\"Needs patch A\", " + nested(1000000) + "]")
            << "файл больше";
        QTest::newRow("200,000 members") << with_extra(wide_object(200000)) << "файл больше";
        QTest::newRow("one member too many") << with_extra(wide_object(kMaxMembers + 1)) << "членами";
        QTest::newRow("NUL after the document") << valid_file() + QByteArray("\0{}", 3) << "нулевой байт";
        QTest::newRow("NUL in UTF-16") << encode(QString::fromUtf8(valid_file()) + QChar(0), "UTF-16LE", false)
                                       << "нулевой байт";
        // At every bound at once, and as slow to parse as the bounds allow:
        // `levels` deep, then objects of the most members up to the size.
        const auto atBounds = [](int levels) {
            QByteArray extra = "[" + nested(levels);
            const QByteArray wide = wide_object(kMaxMembers);
            while (with_extra(extra + "," + wide + "]").size() <= kMaxLanguageFileBytes)
                extra += "," + wide;
            extra += "]";
            return with_extra(extra + QByteArray(kMaxLanguageFileBytes - with_extra(extra).size(), ' '));
        };
        QTest::newRow("at every bound") << atBounds(kMaxNesting - 2) << "";
        QTest::newRow("one level deeper") << atBounds(kMaxNesting - 1) << "вложенность";
        QTest::newRow("one byte more") << atBounds(kMaxNesting - 2) + " "
                                       << "файл больше";
    }
    void files_beyond_the_bounds_are_refused_before_parsing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const LanguageFile f = read_language_file(bytes);
        if (reason.isEmpty())
            QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        else
            QVERIFY2(f.error.contains(reason), qPrintable(f.error));
    }

    void the_valid_file_passes()
    {
        const LanguageFile f = read_language_file(valid_file());
        QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        // Its optional texts are no part of what makes it usable.
        for (const Json &notices : {Json(5), Json::parse(R"({"cleaned": 5, "in_use": ["x"], "missing": null})")}) {
            const LanguageFile g = read_language_file(with("/notices", notices));
            QVERIFY2(g.error.isEmpty(), qPrintable(g.error));
            QCOMPARE(notice_fields(notice_texts(g.doc)), notice_fields(NoticeTexts()));
        }
    }

    // Each member read into its own text; what is absent, empty or no text
    // stays English.
    void notices_come_from_the_file_or_stay_english()
    {
        const QStringList english = notice_fields(NoticeTexts());
        QCOMPARE(notice_fields(notice_texts(Json::parse(valid_file().toStdString()))), english);
        QStringList taken;
        for (const char *member : kNoticeMembers) {
            Json doc;
            doc["notices"][member] = "§";
            const QStringList fields = notice_fields(notice_texts(doc));
            int changed = -1;
            for (int i = 0; i < fields.size(); ++i)
                if (fields.at(i) != english.at(i)) {
                    QVERIFY2(changed < 0, member);
                    changed = i;
                }
            QVERIFY2(changed >= 0 && fields.at(changed) == QStringLiteral("§"), member);
            taken << english.at(changed);
        }
        QCOMPARE(taken, english);
        const Json partial = Json::parse(R"({"notices": {"game_running": "Игра запущена", "cleaned": "",
                                                         "in_use": 3}})");
        const NoticeTexts texts = notice_texts(partial);
        QCOMPARE(texts.gameRunning, QStringLiteral("Игра запущена"));
        QCOMPARE(texts.cleaned, NoticeTexts().cleaned);
        QCOMPARE(texts.inUse, NoticeTexts().inUse);
    }

    void sizes_and_counts_read_as_the_language_writes_them_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("count");
        const QString nbsp(QChar(0x00A0));
        QTest::newRow("nothing") << "config_en.json" << qint64(0) << "0 bytes"
                                 << "0";
        QTest::newRow("one byte") << "config_en.json" << qint64(1) << "1 byte"
                                  << "1";
        QTest::newRow("below a kilobyte") << "config_en.json" << qint64(1023) << "1,023 bytes"
                                          << "1,023";
        QTest::newRow("a kilobyte") << "config_en.json" << qint64(1024) << "1.0 KB"
                                    << "1,024";
        QTest::newRow("whole from ten") << "config_en.json" << qint64(340 * 1024 + 300) << "340 KB"
                                        << "348,460";
        QTest::newRow("9.96 KB rounds to 10") << "config_en.json" << qint64(10199) << "10 KB"
                                              << "10,199";
        QTest::newRow("1023.9 KB is 1.0 MB") << "config_en.json" << qint64(1048500) << "1.0 MB"
                                             << "1,048,500";
        QTest::newRow("gigabytes") << "config_en.json" << qint64(1288490189) << "1.2 GB"
                                   << "1,288,490,189";
        QTest::newRow("terabytes") << "config_en.json" << (qint64(3) << 40) << "3.0 TB"
                                   << "3,298,534,883,328";
        QTest::newRow("russian bytes") << ".config/config_ru.json" << qint64(512) << "512 байт"
                                       << "512";
        QTest::newRow("russian gigabytes") << ".config/config_ru.json" << qint64(1288490189) << "1,2 ГБ"
                                           << "1" + nbsp + "288" + nbsp + "490" + nbsp + "189";
        QTest::newRow("russian count") << "ru_lang.json" << qint64(3456) << "3,4 КБ"
                                       << "3" + nbsp + "456";
        QTest::newRow("a language the name does not give") << "config_xx.json" << qint64(3456) << "3.4 KB"
                                                           << "3,456";
        QTest::newRow("german") << "config_de.json" << qint64(3456) << "3,4 KB"
                                << "3.456";
    }
    void sizes_and_counts_read_as_the_language_writes_them()
    {
        QFETCH(QString, file);
        QFETCH(qint64, bytes);
        QFETCH(QString, size);
        QFETCH(QString, count);
        const QLocale language = file_language(file);
        QCOMPARE(size_text(bytes, language), size);
        QCOMPARE(count_text(bytes, language), count);
    }

    void entries_with_empty_names_are_not_examined()
    {
        const LanguageFile f = read_language_file(
            with("/patches/dynamic/0", Json::parse(R"({"name": "", "actions": 5, "conditions": "junk"})")));
        QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        QVERIFY(read_language_file(with("/patches/dynamic/Q", Json::parse(R"({"name": null})"))).error.isEmpty());
    }

    void more_than_26_named_entries_are_refused()
    {
        Json dynamic = Json::object();
        for (int i = 0; i < 27; ++i)
            dynamic[ALPHABET.at(i).toStdString()] =
                Json::parse(R"({"name": "X", "actions": {"On": [1, 1]}, "conditions": [[]]})");
        QVERIFY(read_language_file(with("/patches/dynamic", dynamic)).error.contains(QStringLiteral("26")));
        dynamic.erase("v");
        const QString error = read_language_file(with("/patches/dynamic", dynamic)).error;
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void shipped_files_pass_and_their_conditions_name_rows_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("en") << QStringLiteral(TESSARINE_SOURCE_DIR "/dist/.config/config_en.json");
        QTest::newRow("ru") << QStringLiteral(TESSARINE_SOURCE_DIR "/dist/.config/config_ru.json");
    }
    void shipped_files_pass_and_their_conditions_name_rows()
    {
        QFETCH(QString, file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const LanguageFile lf = read_language_file(f.readAll());
        QVERIFY2(lf.error.isEmpty(), qPrintable(lf.error));
        const Json &dynamic = lf.doc["patches"]["dynamic"];
        QVERIFY(dynamic.size() >= 10 && dynamic.size() <= 16);
        int conditioned = 0;
        for (auto it = dynamic.begin(); it != dynamic.end(); ++it) {
            const auto choices = patch_choices(it.value()["actions"]);
            QVERIFY(choices.size() >= 2 && choices.size() <= 4);
            QCOMPARE(choices.front().status, (std::vector<int>{1, 1}));
            QCOMPARE(choices.back().status, (std::vector<int>{0, 0}));
            for (const Condition &c : conditions_of(it.value()["conditions"])) {
                ++conditioned;
                QVERIFY(!c.hint.isEmpty());
                for (const QString &alt : c.alternatives)
                    QVERIFY2(dynamic.contains(alt.left(1).toStdString()), qPrintable(alt));
            }
        }
        QVERIFY(conditioned >= 3);
        for (const DefaultTriple &t : default_triples(lf.doc["patches"]["static"]["default"]))
            QVERIFY(dynamic.contains(t.letter.toStdString()));
        // Every notice in the file's own words, with the details the English one has.
        QVERIFY(lf.doc.contains("notices"));
        const QStringList shipped = notice_fields(notice_texts(lf.doc));
        const QStringList english = notice_fields(NoticeTexts());
        for (int i = 0; i < shipped.size(); ++i) {
            const char *member = kNoticeMembers[i];
            QVERIFY2(lf.doc["notices"].contains(member), member);
            QCOMPARE(placeholders(shipped.at(i)), placeholders(english.at(i)));
        }
    }
};

QTEST_GUILESS_MAIN(TestLangfile)
#include "test_langfile.moc"
