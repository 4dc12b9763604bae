#include "core/config/loading.h"
#include "core/config/selection.h"
#include "support/gamefolder.h"
#include "support/languagefile.h"

using namespace tess;

class TestSelection : public QObject
{
    Q_OBJECT

private slots:
    void candidates_are_json_files_not_hidden_in_any_case()
    {
        GameFolder game;
        for (const char *name : {"config_en.json", "CONFIG_RU.JSON", ".hidden.json", "notes.txt", "x.json.bak"})
            game.touch(QStringLiteral("launcher/.config/") + QLatin1String(name), "{}");
        game.mkdir(QStringLiteral("launcher/.config/folder.json"));
        game.touch(QStringLiteral("launcher/.config/sub/config_de.json"), "{}");
        QStringList found = language_candidates(QStringLiteral(".config"));
        found.sort();
        QCOMPARE(found, (QStringList{"CONFIG_RU.JSON", "config_en.json"}));
    }

    void candidates_keep_the_listing_order()
    {
        GameFolder game;
        for (int i = 0; i < 12; ++i)
            game.touch(QStringLiteral("launcher/.config/c%1.json").arg(i), "{}");
        QStringList listed;
        QDirIterator it(QStringLiteral(".config"), QDir::Files);
        while (it.hasNext())
            listed << QFileInfo(it.next()).fileName();
        QCOMPARE(language_candidates(QStringLiteral(".config")), listed);
    }

    void missing_folder_has_no_candidates()
    {
        GameFolder game;
        QDir(QStringLiteral(".config")).removeRecursively();
        QVERIFY(language_candidates(QStringLiteral(".config")).isEmpty());
    }

    // Read through a link only when it leads to a file inside the launcher's folder.
    void a_language_file_is_read_through_a_link_only_inside()
    {
        GameFolder game;
        const QByteArray file = language_file("{}");
        game.touch(QStringLiteral("shared/config_en.json"), file);
        game.touch(QStringLiteral("launcher/languages/config_en.json"), file);
        const QString link = game.path(QStringLiteral("launcher/.config/config_en.json"));
        REQUIRE_SYMLINK(game.path(QStringLiteral("shared/config_en.json")), link);
        QVERIFY(!load_language_file(QStringLiteral(".config"), QStringLiteral("en")).file.error.isEmpty());
        QVERIFY(QFile::remove(link));
        REQUIRE_SYMLINK(game.path(QStringLiteral("launcher/languages/config_en.json")), link);
        const LoadedLanguageFile loaded = load_language_file(QStringLiteral(".config"), QStringLiteral("en"));
        QVERIFY2(loaded.file.error.isEmpty(), qPrintable(loaded.file.error));
    }

    void choice_follows_both_case_sensitive_passes_data()
    {
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("chosen");
        const QStringList enRu{"config_en.json", "config_ru.json"};
        QTest::newRow("RU falls back") << QStringList{"config_ru.json"} << "RU"
                                       << "config_en.json";
        QTest::newRow("ru_ru second pass") << enRu << "ru_ru"
                                           << "config_ru.json";
        QTest::newRow("en first pass") << enRu << "en"
                                       << "config_en.json";
        QTest::newRow("de_de fallback") << enRu << "de_de"
                                        << "config_en.json";
        // Codes are matched against the language a name gives, not its fixed words.
        QTest::newRow("fi_fi not in config") << QStringList{"config_ru.json", "config_en.json"} << "fi_fi"
                                             << "config_en.json";
        QTest::newRow("C locale") << QStringList{"config_ru.json", "config_en.json"} << "c"
                                  << "config_en.json";
        QTest::newRow("POSIX locale") << QStringList{"config_ru.json", "config_en.json"} << "posix"
                                      << "config_en.json";
        QTest::newRow("only the language part") << QStringList{"config_ru_ru.json", "config_en.json"} << "ru_ua"
                                                << "config_ru_ru.json";
        QTest::newRow("whole code first") << QStringList{"config_ru.json", "config_ru_ru.json"} << "ru_ru"
                                          << "config_ru_ru.json";
        QTest::newRow("second pass listing order") << QStringList{"ru_lang.json", "config_ru.json"} << "ru_ru"
                                                   << "ru_lang.json";
        QTest::newRow("upper-case name not matched") << QStringList{"CONFIG_RU.JSON"} << "ru"
                                                     << "config_en.json";
        QTest::newRow("empty argument names no language") << QStringList{"b.json", "a.json"} << ""
                                                          << "config_en.json";
        QTest::newRow("nothing listed") << QStringList{} << "ru_ru"
                                        << "config_en.json";
    }
    void choice_follows_both_case_sensitive_passes()
    {
        QFETCH(QStringList, candidates);
        QFETCH(QString, locale);
        QFETCH(QString, chosen);
        QCOMPARE(choose_language_file(candidates, locale), chosen);
    }
};

QTEST_GUILESS_MAIN(TestSelection)
#include "test_selection.moc"
