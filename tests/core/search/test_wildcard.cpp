#include "core/search/wildcard.h"
#include "support/gamefolder.h"
#include "system/system.h"

using namespace tess;

class TestWildcard : public QObject
{
    Q_OBJECT

private slots:
    void names_match_star_and_question_mark_ignoring_case_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("match");
        QTest::newRow("star any run") << "patch-*.mpq"
                                      << "patch-ruRU-a.mpq" << true;
        QTest::newRow("star empty run") << "patch-*.mpq"
                                        << "patch-.mpq" << true;
        QTest::newRow("case ignored") << "patch-*.mpq"
                                      << "PATCH-A.MPQ" << true;
        QTest::newRow("suffix required") << "patch-*.mpq"
                                         << "patch-a.mpq.disabled" << false;
        QTest::newRow("trailing star") << "patch-*a.mpq*"
                                       << "patch-a.mpq.disabled" << true;
        QTest::newRow("question one char") << "patch-????.mpq"
                                           << "patch-ruRU.mpq" << true;
        QTest::newRow("question not two") << "patch-????.mpq"
                                          << "patch-ruRU-a.mpq" << false;
        QTest::newRow("question not zero") << "?lizzard_*"
                                           << "lizzard_Foo" << false;
        QTest::newRow("addon") << "?lizzard_*"
                               << "XLIZZARD_BAR" << true;
        QTest::newRow("addon needs underscore") << "?lizzard_*"
                                                << "Xlizzard" << false;
        QTest::newRow("backtracking") << "*a*b"
                                      << "xaxxab" << true;
        QTest::newRow("backtracking fails") << "*a*b"
                                            << "xaxxa" << false;
        QTest::newRow("cyrillic case") << "ПАТЧ*"
                                       << "патч1" << true;
        // Characters outside the Basic Multilingual Plane are two UTF-16 units.
        QTest::newRow("question one astral char") << "?lizzard_*"
                                                  << "\U0001F4BElizzard_x" << true;
        QTest::newRow("question not half of one") << "Xlizzard_??"
                                                  << "Xlizzard_\U0001F4BE" << false;
        QTest::newRow("star backtracks by chars") << "*\U0001F4BE?"
                                                  << "\U0001F4BE\U0001F4BEx" << true;
        QTest::newRow("astral case") << "\U00010400*"
                                     << "\U00010428x" << true;
    }
    void names_match_star_and_question_mark_ignoring_case()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, match);
        QCOMPARE(wildcard_match(pattern, name), match);
    }

    void literal_folders_are_found_in_any_case()
    {
        GameFolder game;
        game.touch(QStringLiteral("data/x.mpq"));
        game.touch(QStringLiteral("DATA/y.mpq"));
        QStringList found = glob(QStringLiteral("../Data/*.mpq"));
        found.sort();
        // One folder on Windows, under the name it was made with.
        if (kWindows)
            QCOMPARE(found, (QStringList{"../data/x.mpq", "../data/y.mpq"}));
        else
            QCOMPARE(found, (QStringList{"../DATA/y.mpq", "../data/x.mpq"}));
    }

    void double_star_visits_a_folder_before_the_folders_below()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/a/b/x.mpq"));
        game.touch(QStringLiteral("Data/a/x.mpq"));
        game.touch(QStringLiteral("Data/x.mpq"));
        const QStringList found = glob(QStringLiteral("../Data/**/x.mpq"));
        QCOMPARE(found, (QStringList{"../Data/x.mpq", "../Data/a/x.mpq", "../Data/a/b/x.mpq"}));
    }

    void hidden_names_are_never_matched_by_wildcards()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/.hidden/x.mpq"));
        game.touch(QStringLiteral("Data/.x.mpq"));
        game.touch(QStringLiteral("launcher/.config/.hidden.json"));
        game.touch(QStringLiteral("launcher/.config/config_en.json"));
        QVERIFY(glob(QStringLiteral("../Data/**/*.mpq")).isEmpty());
        // A literal name beginning with "." is not a wildcard and is found.
        QCOMPARE(glob(QStringLiteral(".config/*.json")), QStringList{".config/config_en.json"});
    }

    void files_only_unless_folders_are_asked_for()
    {
        GameFolder game;
        game.mkdir(QStringLiteral("Data/patch-a.mpq"));
        game.mkdir(QStringLiteral("interface/addons/Xlizzard_Foo"));
        QVERIFY(glob(QStringLiteral("../Data/*.mpq")).isEmpty());
        QCOMPARE(glob(QStringLiteral("../Interface/AddOns/?lizzard_*"), GlobEntries::All),
                 QStringList{"../interface/addons/Xlizzard_Foo"});
    }

    void double_star_does_not_follow_links()
    {
        GameFolder game;
        game.touch(QStringLiteral("outside/x.mpq"));
        game.mkdir(QStringLiteral("Data"));
        REQUIRE_SYMLINK(game.path(QStringLiteral("outside")), game.path(QStringLiteral("Data/loop")));
        REQUIRE_SYMLINK(game.path(QStringLiteral("Data")), game.path(QStringLiteral("Data/self")));
        QVERIFY(glob(QStringLiteral("../Data/**/x.mpq")).isEmpty());
    }

    POSIX_ONLY_TESTS
    // POSIX names are bytes: each must come back to its own bytes, and valid
    // UTF-8 must read as the text it spells. Stray bytes must not be taken
    // for text that encodes to other bytes.
    void names_keep_their_bytes_through_text_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("ascii") << QByteArray("patch-a.mpq") << true;
        QTest::newRow("cyrillic") << QByteArray("\xd0\xbf\xd0\xb0\xd1\x82\xd1\x87") << true;
        QTest::newRow("four bytes") << QByteArray("\xf0\x9f\x98\x80.mpq") << true;
        // U+1F4BE's second half, U+DCBE, is in the range the stray bytes use.
        QTest::newRow("four bytes ending like a stray byte") << QByteArray("Xlizzard_\xf0\x9f\x92\xbeSaved") << true;
        QTest::newRow("four bytes then a stray byte") << QByteArray("\xf0\x9f\x92\xbe\xbe") << false;
        QTest::newRow("code page 1251") << QByteArray("\xef\xe0\xf2\xf7-a.mpq") << false;
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xb2\x80") << false;
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << false;
        QTest::newRow("cut short") << QByteArray("a\xe0\xa0") << false;
        QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    }
    void names_keep_their_bytes_through_text()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        const QString text = decode_path(bytes.constData(), bytes.size());
        QCOMPARE(encode_path(text), bytes);
        if (utf8)
            QCOMPARE(text, QString::fromUtf8(bytes));
        else
            QVERIFY(!text.contains(QChar::ReplacementCharacter));
    }

private slots:
    void folders_named_outside_the_basic_plane_are_searched()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/\U0001F4BE/patch-x.mpq"));
        game.touch(QStringLiteral("Data/a\U0001F4BE/patch-y.mpq"));
        QStringList found = glob(QStringLiteral("../Data/**/patch-*.mpq"));
        found.sort();
        QCOMPARE(found,
                 (QStringList{QStringLiteral("../Data/a\U0001F4BE/patch-y.mpq"),
                              QStringLiteral("../Data/\U0001F4BE/patch-x.mpq")}));
        QCOMPARE(glob(QStringLiteral("../Data/?/patch-*.mpq")),
                 QStringList{QStringLiteral("../Data/\U0001F4BE/patch-x.mpq")});
    }

    void missing_folders_find_nothing()
    {
        GameFolder game;
        QVERIFY(glob(QStringLiteral("../Data/**/patch-*.mpq")).isEmpty());
        QVERIFY(glob(QStringLiteral("../fonts/*.ttf")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWildcard)
#include "test_wildcard.moc"
