#include "core/actions/cleaning.h"
#include "support/gamefolder.h"

using namespace tess;

class TestCleaning : public QObject
{
    Q_OBJECT

private slots:
    void nothing_to_clean_is_no_error()
    {
        GameFolder game;
        const RemoveResult r = clean_game_folder();
        QVERIFY(r.complete());
        QCOMPARE(r.files, 0);
        QCOMPARE(r.bytes, 0);
    }

    void cache_and_logs_go_whole()
    {
        GameFolder game;
        game.touch(QStringLiteral("cache/a/b/c/deep.bin"));
        game.touch(QStringLiteral("cache/.hidden"));
        game.touch(QStringLiteral("cache/top.wdb"));
        game.touch(QStringLiteral("Logs/x/log.txt"), QByteArray(70000, 'x'));
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        const RemoveResult r = clean_game_folder();
        QVERIFY(r.complete());
        // The bytes are the files' own, each touched with its path as content.
        QCOMPARE(r.files, 4);
        QCOMPARE(r.bytes,
                 qint64(strlen("cache/a/b/c/deep.bin") + strlen("cache/.hidden") + strlen("cache/top.wdb")) + 70000);
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QVERIFY(!game.exists(QStringLiteral("Logs")));
        QVERIFY(game.exists(QStringLiteral("Data/patch-2.mpq")));
    }

    void only_addons_matching_the_pattern_go()
    {
        GameFolder game;
        for (const char *name :
             {"Xlizzard_Foo/a.lua", "XLIZZARD_BAR/b.lua", "1lizzard_x", "lizzard_Foo/c.lua", "Xlizzard/d.lua",
              "MyAddon/e.lua", ".lizzard_hidden/f.lua", "Xlizzard_\U0001F4BESaved/g.lua", "\U0001F4BElizzard_x/h.lua"})
            game.touch(QStringLiteral("Interface/AddOns/") + QString::fromUtf8(name));
        QVERIFY(clean_game_folder().complete());
        QCOMPARE(game.names(QStringLiteral("Interface/AddOns")),
                 (QStringList{".lizzard_hidden", "MyAddon", "Xlizzard", "lizzard_Foo"}));
    }

    // What cannot be removed stays with the folders that hold it; every
    // other entry and every later target goes, and the result names each
    // entry that stayed with the system's reason.
    void a_locked_folder_stays_and_the_cleaning_goes_on()
    {
        GameFolder game;
        game.touch(QStringLiteral("cache/a/locked/held.bin"));
        game.touch(QStringLiteral("cache/a/locked/other.bin"));
        game.touch(QStringLiteral("cache/a/free.bin"), "12345");
        game.touch(QStringLiteral("cache/b/c.bin"), "123");
        game.touch(QStringLiteral("logs/log.txt"), "1");
        game.touch(QStringLiteral("interface/addons/Xlizzard_Foo/a.lua"), "12");
        Immutable lock(game.path(QStringLiteral("cache/a/locked")));
        REQUIRE_IMMUTABLE(lock);
        const RemoveResult r = clean_game_folder();
        QVERIFY(!r.complete());
        QCOMPARE(r.left.size(), 2);
        QStringList left;
        for (const LeftEntry &e : r.left) {
            left << e.path;
            QCOMPARE(e.error, EPERM);
        }
        left.sort();
        QCOMPARE(left, (QStringList{"cache/a/locked/held.bin", "cache/a/locked/other.bin"}));
        QCOMPARE(game.names(QStringLiteral("cache")), QStringList{"a"});
        QCOMPARE(game.names(QStringLiteral("cache/a")), QStringList{"locked"});
        QCOMPARE(game.names(QStringLiteral("cache/a/locked")), (QStringList{"held.bin", "other.bin"}));
        QVERIFY(!game.exists(QStringLiteral("logs")));
        QVERIFY(!game.exists(QStringLiteral("interface/addons/Xlizzard_Foo")));
        QCOMPARE(r.files, 4);
        QCOMPARE(r.bytes, 5 + 3 + 1 + 2);
    }

    void a_denied_file_leaves_the_rest_of_its_folder_emptied()
    {
        GameFolder game;
        game.touch(QStringLiteral("logs/keep/held.txt"));
        game.touch(QStringLiteral("logs/keep/gone.txt"));
        game.touch(QStringLiteral("cache/x.bin"));
        game.touch(QStringLiteral("interface/addons/Xlizzard_Foo/a.lua"));
        Immutable lock(game.path(QStringLiteral("logs/keep/held.txt")));
        REQUIRE_IMMUTABLE(lock);
        const RemoveResult r = clean_game_folder();
        QCOMPARE(r.left.size(), 1);
        QCOMPARE(r.left.first().path, QStringLiteral("logs/keep/held.txt"));
        QCOMPARE(r.left.first().error, EPERM);
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QCOMPARE(game.names(QStringLiteral("logs/keep")), QStringList{"held.txt"});
        QVERIFY(!game.exists(QStringLiteral("interface/addons/Xlizzard_Foo")));
    }

    void links_are_removed_and_never_followed()
    {
        GameFolder game;
        game.touch(QStringLiteral("outside/precious.txt"), "keep me");
        game.touch(QStringLiteral("outside/sub/more.txt"));
        game.touch(QStringLiteral("cache/x.bin"));
        REQUIRE_SYMLINK(game.path(QStringLiteral("outside")), game.path(QStringLiteral("cache/link")));
        REQUIRE_SYMLINK(game.path(QStringLiteral("outside/precious.txt")),
                        game.path(QStringLiteral("cache/file-link")));
        REQUIRE_SYMLINK(game.path(QStringLiteral("nowhere")), game.path(QStringLiteral("cache/dangling")));
        REQUIRE_SYMLINK(game.path(QStringLiteral("outside")), game.path(QStringLiteral("logs")));
        const RemoveResult r = clean_game_folder();
        QVERIFY(r.complete());
        // A link is removed as an entry of its own, with no bytes of what it leads to.
        QCOMPARE(r.files, 5);
        QCOMPARE(r.bytes, qint64(strlen("cache/x.bin")));
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QVERIFY(!game.exists(QStringLiteral("logs")));
        QCOMPARE(game.read(QStringLiteral("outside/precious.txt")), QByteArray("keep me"));
        QVERIFY(game.exists(QStringLiteral("outside/sub/more.txt")));
    }

    // Players share one add-on folder between installs through a link: a
    // link on the way to the targets leads outside the game and is not taken.
    void links_on_the_way_to_a_target_are_not_followed_data()
    {
        QTest::addColumn<QString>("link");    // in the game folder
        QTest::addColumn<QString>("target");  // outside it
        QTest::newRow("add-on folder") << "Interface/AddOns"
                                       << "../shared/AddOns";
        QTest::newRow("interface folder") << "Interface"
                                          << "../shared";
    }
    void links_on_the_way_to_a_target_are_not_followed()
    {
        QFETCH(QString, link);
        QFETCH(QString, target);
        GameFolder game;
        game.touch(QStringLiteral("../shared/AddOns/Blizzard_UI/a.lua"), "shared");
        game.mkdir(QFileInfo(link).path());
        REQUIRE_SYMLINK(game.path(target), game.path(link));
        QVERIFY(clean_game_folder().complete());
        QCOMPARE(game.read(QStringLiteral("../shared/AddOns/Blizzard_UI/a.lua")), QByteArray("shared"));
        QVERIFY(game.exists(link));
    }

    // Entries that no path can name: deeper than the system's path limit, or
    // named with bytes that are not UTF-8. None of them may stop the cleaning.
    void entries_no_path_can_name_are_removed_data()
    {
        QTest::addColumn<QByteArray>("folder");  // nested `depth` times in the cache
        QTest::addColumn<int>("depth");
        QTest::addColumn<QByteArray>("file");  // at the bottom
        QTest::newRow("2,100 folders") << QByteArray("d") << 2100 << QByteArray("f");
        QTest::newRow("long names") << QByteArray(200, 'n') << 25 << QByteArray("f");
        QTest::newRow("not UTF-8") << QByteArray("\xff\xfe") << 2 << QByteArray("\xff.wdb");
    }
    void entries_no_path_can_name_are_removed()
    {
        if (kWindows)
            QSKIP("names are UTF-16 on Windows");
        QFETCH(QByteArray, folder);
        QFETCH(int, depth);
        QFETCH(QByteArray, file);
        GameFolder game;
        game.touch(QStringLiteral("logs/log.txt"));
        game.touch(QStringLiteral("interface/addons/Xlizzard_Foo/a.lua"));
        QVERIFY(make_nested(game.nativePath("cache"), folder, depth, file));
        const RemoveResult r = clean_game_folder();
        QVERIFY2(r.complete(), qPrintable(r.left.value(0).path.right(100)));
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QVERIFY(!game.exists(QStringLiteral("logs")));
        QVERIFY(!game.exists(QStringLiteral("interface/addons/Xlizzard_Foo")));
    }

    // Another process renames the add-on folder's parent away as soon as the
    // first add-on is gone and puts something of its own in its place: a link
    // to a folder outside the game, or a folder moved in. What was found under
    // the old name is removed; nothing under the new one is touched.
    void a_folder_swapped_while_cleaning_leads_nowhere_data()
    {
        QTest::addColumn<bool>("link");
        QTest::newRow("link to outside") << true;
        QTest::newRow("folder moved in") << false;
    }
    void a_folder_swapped_while_cleaning_leads_nowhere()
    {
        QFETCH(bool, link);
        GameFolder game;
        const QStringList addons{"Xlizzard_A", "Xlizzard_B", "Xlizzard_C", "Xlizzard_D", "Xlizzard_E", "Xlizzard_F"};
        for (const QString &addon : addons)
            for (int i = 0; i < 20; ++i) {
                game.touch(QStringLiteral("interface/addons/%1/%2.lua").arg(addon).arg(i));
                game.touch(QStringLiteral("../outside/addons/%1/%2.lua").arg(addon).arg(i), "outside");
            }
        bool swapped = false;
        const RemoveResult r = clean_game_folder([&](const QString &) {
            if (swapped)
                return;
            swapped = true;
            // Where the system refuses the rename of a folder in use, nothing is swapped.
            if (!QDir().rename(game.path(QStringLiteral("interface")), game.path(QStringLiteral("interface-moved"))))
                return;
            if (link)
                QVERIFY(
                    make_symlink(game.path(QStringLiteral("../outside")), game.path(QStringLiteral("interface")))
                    || QDir().rename(game.path(QStringLiteral("../outside")), game.path(QStringLiteral("interface"))));
            else
                QVERIFY(QDir().rename(game.path(QStringLiteral("../outside")), game.path(QStringLiteral("interface"))));
        });
        QVERIFY(swapped);
        // The held descriptors finish the walk in the folder that was moved.
        if (!kWindows)
            QVERIFY2(r.complete(), qPrintable(r.left.value(0).path));
        // Where folders are reached by path (Windows), the walk may stop at the swap instead; never outside.
        const QString outside = game.exists(QStringLiteral("../outside")) ? QStringLiteral("../outside/addons/")
                                                                          : QStringLiteral("interface/addons/");
        if (game.exists(QStringLiteral("interface-moved"))) {
            for (const QString &addon : addons)
                QCOMPARE(game.names(outside + addon).size(), 20);
            if (r.complete())
                QVERIFY(game.names(QStringLiteral("interface-moved/addons")).isEmpty());
        } else {
            QVERIFY(game.names(QStringLiteral("interface/addons")).isEmpty());
        }
    }

    POSIX_ONLY_TESTS
    // A RAM disk or a shared folder mounted inside the cache is another
    // file system or mount: it stays with the folders above it, and the
    // rest of the cleaning goes on.
    void nothing_on_another_mount_is_removed_data()
    {
        QTest::addColumn<bool>("bind");
        QTest::newRow("bind mount") << true;
        QTest::newRow("tmpfs") << false;
    }
    void nothing_on_another_mount_is_removed()
    {
        QFETCH(bool, bind);
        GameFolder game;
        game.touch(QStringLiteral("../shared/keep.txt"));
        game.touch(QStringLiteral("cache/a.bin"));
        game.touch(QStringLiteral("logs/log.txt"));
        game.touch(QStringLiteral("interface/addons/Xlizzard_Foo/a.lua"));
        game.mkdir(QStringLiteral("cache/sub/mounted"));
        Mount mount(bind ? game.path(QStringLiteral("../shared")) : QString(),
                    game.path(QStringLiteral("cache/sub/mounted")));
        if (!mount.ok())
            QSKIP("this process may not mount (needs root and mount namespaces)");
        game.touch(QStringLiteral("cache/sub/mounted/ram.bin"));
        const RemoveResult r = clean_game_folder();
        QVERIFY(game.exists(QStringLiteral("cache/sub/mounted/ram.bin")));
        QVERIFY(game.exists(QStringLiteral("cache/sub/mounted/keep.txt")) == bind);
        QCOMPARE(r.left.size(), 1);
        QCOMPARE(r.left.first().error, EXDEV);
        QCOMPARE(r.left.first().path, QStringLiteral("cache/sub/mounted"));
        QVERIFY(!game.exists(QStringLiteral("cache/a.bin")));
        QVERIFY(!game.exists(QStringLiteral("logs")));
        QVERIFY(!game.exists(QStringLiteral("interface/addons/Xlizzard_Foo")));
    }

private slots:
    void a_second_run_after_the_release_finishes_the_work()
    {
        GameFolder game;
        game.touch(QStringLiteral("cache/held.bin"));
        game.touch(QStringLiteral("logs/log.txt"));
        {
            Immutable lock(game.path(QStringLiteral("cache/held.bin")));
            REQUIRE_IMMUTABLE(lock);
            QVERIFY(!clean_game_folder().complete());
        }
        // The folder alone, as the cleaning removes each target.
        const RemoveResult r = remove_tree(QStringLiteral("../cache"));
        QVERIFY(r.complete());
        QCOMPARE(r.files, 1);
        QCOMPARE(r.bytes, qint64(strlen("cache/held.bin")));
        QVERIFY(clean_game_folder().complete());
        QVERIFY(!game.exists(QStringLiteral("cache")));
        QVERIFY(!game.exists(QStringLiteral("logs")));
    }
};

QTEST_GUILESS_MAIN(TestCleaning)
#include "test_cleaning.moc"
