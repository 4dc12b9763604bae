#include "core/config/selection.h"
#include "support/gamefolder.h"

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
        QTest::newRow("fi_fi inside config") << QStringList{"config_ru.json", "config_en.json"} << "fi_fi"
                                             << "config_ru.json";
        QTest::newRow("whole code first") << QStringList{"config_ru.json", "config_ru_ru.json"} << "ru_ru"
                                          << "config_ru_ru.json";
        QTest::newRow("second pass listing order") << QStringList{"ru_lang.json", "config_ru.json"} << "ru_ru"
                                                   << "ru_lang.json";
        QTest::newRow("upper-case name not matched") << QStringList{"CONFIG_RU.JSON"} << "ru"
                                                     << "config_en.json";
        QTest::newRow("empty argument picks first") << QStringList{"b.json", "a.json"} << ""
                                                    << "b.json";
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
