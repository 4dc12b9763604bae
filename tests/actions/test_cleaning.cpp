#include "actions/utils.h"
#include "support/gamefolder.h"

using namespace tess;

class TestCleaning : public QObject
{
    Q_OBJECT

private slots:
    void nothing_to_clean_is_no_error()
    {
        GameFolder game;
        QVERIFY(clean_game_folder().ok);
    }

    void cache_and_logs_go_whole()
    {
        GameFolder game;
        game.touch(QStringLiteral("cache/a/b/c/deep.bin"));
        game.touch(QStringLiteral("cache/.hidden"));
        game.touch(QStringLiteral("cache/top.wdb"));
        game.touch(QStringLiteral("Logs/x/log.txt"));
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        QVERIFY(clean_game_folder().ok);
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QVERIFY(!game.exists(QStringLiteral("Logs")));
        QVERIFY(game.exists(QStringLiteral("Data/patch-2.mpq")));
    }

    void only_addons_matching_the_pattern_go()
    {
        GameFolder game;
        for (const char *name : {"Xlizzard_Foo/a.lua", "XLIZZARD_BAR/b.lua", "1lizzard_x", "lizzard_Foo/c.lua",
                                 "Xlizzard/d.lua", "MyAddon/e.lua", ".lizzard_hidden/f.lua"})
            game.touch(QStringLiteral("Interface/AddOns/") + QLatin1String(name));
        QVERIFY(clean_game_folder().ok);
        QCOMPARE(game.names(QStringLiteral("Interface/AddOns")),
                 (QStringList{".lizzard_hidden", "MyAddon", "Xlizzard", "lizzard_Foo"}));
    }

    void a_locked_file_keeps_its_folder_and_ends_the_cleaning()
    {
        GameFolder game;
        game.touch(QStringLiteral("cache/a/locked/held.bin"));
        game.touch(QStringLiteral("cache/a/locked/other.bin"));
        game.touch(QStringLiteral("logs/log.txt"));
        game.touch(QStringLiteral("interface/addons/Xlizzard_Foo/a.lua"));
        Immutable lock(game.path(QStringLiteral("cache/a/locked")));
        REQUIRE_IMMUTABLE(lock);
        const RemoveResult r = clean_game_folder();
        QVERIFY(!r.ok);
        QVERIFY(game.exists(QStringLiteral("cache/a/locked/held.bin")));
        QVERIFY(game.exists(QStringLiteral("logs/log.txt")));
        QVERIFY(game.exists(QStringLiteral("interface/addons/Xlizzard_Foo/a.lua")));
    }

    void a_denied_file_leaves_the_rest_of_its_folder_emptied()
    {
        GameFolder game;
        game.touch(QStringLiteral("logs/keep/held.txt"));
        game.touch(QStringLiteral("logs/keep/gone.txt"));
        game.touch(QStringLiteral("cache/x.bin"));
        Immutable lock(game.path(QStringLiteral("logs/keep/held.txt")));
        REQUIRE_IMMUTABLE(lock);
        QVERIFY(!clean_game_folder().ok);
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QCOMPARE(game.names(QStringLiteral("logs/keep")), QStringList{"held.txt"});
    }

    void links_are_removed_and_never_followed()
    {
        GameFolder game;
        game.touch(QStringLiteral("outside/precious.txt"), "keep me");
        game.touch(QStringLiteral("outside/sub/more.txt"));
        game.touch(QStringLiteral("cache/x.bin"));
        QVERIFY(QFile::link(game.path(QStringLiteral("outside")), game.path(QStringLiteral("cache/link"))));
        QVERIFY(QFile::link(game.path(QStringLiteral("outside/precious.txt")), game.path(QStringLiteral("cache/file-link"))));
        QVERIFY(QFile::link(game.path(QStringLiteral("nowhere")), game.path(QStringLiteral("cache/dangling"))));
        QVERIFY(QFile::link(game.path(QStringLiteral("outside")), game.path(QStringLiteral("logs"))));
        QVERIFY(clean_game_folder().ok);
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QVERIFY(!game.exists(QStringLiteral("logs")));
        QCOMPARE(game.read(QStringLiteral("outside/precious.txt")), QByteArray("keep me"));
        QVERIFY(game.exists(QStringLiteral("outside/sub/more.txt")));
    }

    void a_second_run_after_the_release_finishes_the_work()
    {
        GameFolder game;
        game.touch(QStringLiteral("cache/held.bin"));
        game.touch(QStringLiteral("logs/log.txt"));
        {
            Immutable lock(game.path(QStringLiteral("cache/held.bin")));
            REQUIRE_IMMUTABLE(lock);
            QVERIFY(!clean_game_folder().ok);
        }
        QVERIFY(clean_game_folder().ok);
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QVERIFY(!game.exists(QStringLiteral("logs")));
    }
};

QTEST_GUILESS_MAIN(TestCleaning)
#include "test_cleaning.moc"
