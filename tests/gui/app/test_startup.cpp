#include "support/craftedarchive.h"
#include "support/gamefolder.h"
#include "support/languagefile.h"
#include "support/milestones.h"
#include "support/x11session.h"

// The real program, started in a game folder of its own.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    static void install_language_file(const GameFolder &game, const QString &name, const QByteArray &content)
    {
        game.touch(QStringLiteral("launcher/.config/") + name, content);
    }
    static QByteArray example() { return example_language_file(); }
    static QStringList messages(const GameFolder &game) { return game.logMessages(); }
    // A game folder with the example language file, the launcher started in it.
    static QString start(const GameFolder &game, LauncherProcess &launcher)
    {
        install_language_file(game, QStringLiteral("config_en.json"), example());
        launcher.start(QStringLiteral(TESSARINE_EXE), game.launcher(), {QStringLiteral("en")});
        return launcher.waitForWindow();
    }

    struct Run {
        int status = -1;
        QString out;
        QString err;
    };
    // A command-line run of the program, with no display to reach: one that
    // made a GUI application object would end at once.
    static Run command(const GameFolder &game, const QStringList &arguments)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(game.launcher());
        p.start(QStringLiteral(TESSARINE_EXE), arguments);
        if (!p.waitForFinished(30000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    // The example's two patches, both fully on, and the game not running.
    static void install_example_game(const GameFolder &game)
    {
        install_language_file(game, QStringLiteral("config_en.json"), example());
        for (const char *name : {"Data/patch-2.mpq", "Data/patch-a.mpq", "Data/ruRU/patch-ruRU-a.mpq",
                                 "Data/patch-b.mpq", "Data/ruRU/patch-ruRU-b.mpq"})
            game.touch(QLatin1String(name));
    }

private slots:
    void list_and_set_need_no_display_and_follow_the_window()
    {
        GameFolder game;
        install_example_game(game);
        const Run list = command(game, {QStringLiteral("--list"), QStringLiteral("en")});
        QCOMPARE(list.status, 0);
        QCOMPARE(list.out.split(QLatin1Char('\n')),
                 (QStringList{"allpatches\tAll patches\tAll on\t0 All on | 1 Defaults | 2 All off\t",
                              "fonts\tInterface fonts\tOff\t0 On | 1 Off\t",
                              "dxvk\tDXVK\tOff\t0 On | 1 On, no config | 2 Off\t",
                              "a\tPatch A\tOn\t0 On | 1 Data only | 2 Off\t", "b\tPatch B\tOn\t0 On | 1 Off\t", ""}));
        // Reading changes nothing and logs nothing.
        QVERIFY(messages(game).isEmpty());

        // By title and by number: a off switches b off through its condition.
        const Run set = command(game, {QStringLiteral("--set"), QStringLiteral("patch a=2"), QStringLiteral("en")});
        QCOMPARE(set.status, 0);
        QVERIFY2(set.out.contains(QStringLiteral("b\tPatch B\tOff\t0 On | 1 Off\tNeeds patch A\n")),
                 qPrintable(set.out));
        QCOMPARE(game.names(QStringLiteral("Data")),
                 (QStringList{"patch-2.mpq", "patch-a.mpq.disabled", "patch-b.mpq.disabled", "ruRU"}));
        const QStringList lines = messages(game);
        QVERIFY2(GameFolder::inOrder(lines,
                                     {"DEBUG | Состояние для 'Patch A' загружено: On",
                                      "DEBUG | Изменено состояние для: 'Patch A'",
                                      "WARNING | Условия для 'Patch B' не выполнены => патч будет отключен",
                                      "DEBUG | Статус для фрейма 'Все патчи' обновлен: All off"}),
                 qPrintable(lines.join('\n')));
        QVERIFY(!lines.contains(QStringLiteral("DEBUG | Запуск графического интерфейса")));

        // The choice a row already shows is no change, as in the window.
        const int logged = messages(game).size();
        QCOMPARE(command(game, {QStringLiteral("--set"), QStringLiteral("allpatches=All off")}).status, 0);
        QVERIFY(!messages(game).mid(logged).contains(QStringLiteral("DEBUG | Изменено состояние для: 'All patches'")));

        const Run help = command(game, {QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        for (const char *option : {"--help", "--list", "--set"})
            QVERIFY(help.out.contains(QLatin1String(option)));
    }

    void set_refuses_a_running_game_and_unknown_rows_or_choices()
    {
        GameFolder game;
        install_example_game(game);
        const QStringList before = game.names(QStringLiteral("Data"));
        for (const char *pick : {"z=On", "a=Maybe", "a=3", "=On"}) {
            const Run r = command(game, {QStringLiteral("--set"), QLatin1String(pick), QStringLiteral("en")});
            QCOMPARE(r.status, 2);
            QVERIFY(!r.err.isEmpty());
        }
        QCOMPARE(command(game, {QStringLiteral("--set"), QStringLiteral("en")}).status, 2);
        // Without its archive the game counts as running: the same probe as the rows'.
        QFile::remove(game.path(QStringLiteral("Data/patch-2.mpq")));
        const Run running = command(game, {QStringLiteral("--set"), QStringLiteral("a=Off"), QStringLiteral("en")});
        QCOMPARE(running.status, 3);
        QVERIFY(running.err.contains(QStringLiteral("running")));
        QStringList untouched = before;
        untouched.removeAll(QStringLiteral("patch-2.mpq"));
        QCOMPARE(game.names(QStringLiteral("Data")), untouched);
        QVERIFY(!messages(game).contains(QStringLiteral("DEBUG | Изменено состояние для: 'Patch A'")));
    }

    void a_failed_rename_ends_set_with_one()
    {
        GameFolder game;
        install_example_game(game);
        Immutable lock(game.path(QStringLiteral("Data/patch-a.mpq")));
        REQUIRE_IMMUTABLE(lock);
        const Run r = command(game, {QStringLiteral("--set"), QStringLiteral("a=Off"), QStringLiteral("en")});
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.contains(QStringLiteral("a\tPatch A\t")));
        QVERIFY(game.exists(QStringLiteral("Data/patch-a.mpq")));
    }

    void start_logs_milestones_in_order_and_exit_button_ends_with_zero()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        LauncherProcess launcher;
        const QString window = start(game, launcher);
        QVERIFY2(!window.isEmpty(), launcher.output().constData());

        const QStringList lines = messages(game);
        const QStringList expected = startup_milestones(QStringLiteral("en"), QStringLiteral("config_en.json"));
        QVERIFY2(GameFolder::inOrder(lines, expected), qPrintable(lines.join('\n')));
        // The first line of the run is the first thing logged.
        QCOMPARE(lines.first(), expected.first());

        QFile::remove(game.path(QStringLiteral("launcher/.config/mediaplayer.ini")));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
        QVERIFY(game.read(QStringLiteral("launcher/.config/mediaplayer.ini")).startsWith("[SETTINGS]"));
        QCOMPARE(messages(game).last(), QStringLiteral("OK | Конфигурация медиаплеера сохранена"));
    }

    // One file that cannot be removed stays with the folders holding it;
    // the press still cleans the logs and the add-on leftovers.
    void the_clean_button_goes_past_what_cannot_be_removed()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        game.touch(QStringLiteral("cache/WDB/enUS/creaturecache.wdb"));
        game.touch(QStringLiteral("cache/WDB/enUS/itemcache.wdb"));
        game.touch(QStringLiteral("logs/client.log"));
        game.touch(QStringLiteral("interface/addons/Blizzard_Foo/a.lua"));
        game.touch(QStringLiteral("interface/addons/MyAddon/b.lua"));
        Immutable lock(game.path(QStringLiteral("cache/WDB/enUS/creaturecache.wdb")));
        REQUIRE_IMMUTABLE(lock);
        LauncherProcess launcher;
        const QString window = start(game, launcher);
        QVERIFY2(!window.isEmpty(), launcher.output().constData());
        launcher.click(window, LauncherProcess::cleanButton);
        QTRY_VERIFY_WITH_TIMEOUT(!game.exists(QStringLiteral("interface/addons/Blizzard_Foo")), 10000);
        QVERIFY(!game.exists(QStringLiteral("logs")));
        QVERIFY(game.exists(QStringLiteral("interface/addons/MyAddon/b.lua")));
        QCOMPARE(game.names(QStringLiteral("cache/WDB/enUS")), QStringList{"creaturecache.wdb"});
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
    }

    void exit_ends_the_window_at_once_while_its_archives_are_checked()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        // A FIFO among the archives, which nothing ever writes to...
        QProcess fifo;
        fifo.start(QStringLiteral("mkfifo"), {game.path(QStringLiteral("Data/patch-e.mpq"))});
        QVERIFY(fifo.waitForFinished(10000) && fifo.exitCode() == 0);
        // ...and a sound archive the list names, with gigabytes of nothing
        // behind it (sparse), whose hash is still being read at EXIT.
        game.touch(QStringLiteral("Data/patch-h.mpq"), shared_sector_table_archive(1, 1));
        QFile big(game.path(QStringLiteral("Data/patch-h.mpq")));
        QVERIFY(big.resize(qint64(8) << 30));
        game.touch(QStringLiteral("launcher/.config/archives.sha256"), QByteArray(64, 'a') + "  Data/patch-h.mpq\n");

        LauncherProcess launcher;
        const QString window = start(game, launcher);
        QVERIFY2(!window.isEmpty(), launcher.output().constData());
        QTest::qWait(1500);
        launcher.click(window, LauncherProcess::exitButton);
        QElapsedTimer timer;
        timer.start();
        const int status = launcher.waitForExit(2000);
        const qint64 took = timer.elapsed();
        QVERIFY2(status == 0, qPrintable(QStringLiteral("no end within 2 s of EXIT (status %1)").arg(status)));
        qInfo("ended %lld ms after EXIT", took);
        QVERIFY(messages(game).filter(QStringLiteral("Архивы патчей проверены")).isEmpty());
    }

    void a_crafted_archive_takes_one_reading_of_its_tables()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        // 65536 entries share a sector table of 1 MB: read once per entry that is 64 GB.
        const QByteArray crafted = shared_sector_table_archive(65536, 262143);
        game.touch(QStringLiteral("Data/patch-c.mpq"), crafted);
        LauncherProcess launcher;
        const QString window = start(game, launcher);
        QVERIFY2(!window.isEmpty(), launcher.output().constData());
        const QString checked = QStringLiteral("DEBUG | Архивы патчей проверены: 1 за ");
        QTRY_VERIFY_WITH_TIMEOUT(!messages(game).filter(checked).isEmpty(), 20000);
        const QString line = messages(game).filter(checked).first();
        const int ms = line.mid(checked.size()).section(QLatin1Char(' '), 0, 0).toInt();
        qInfo("%d bytes checked in %d ms", int(crafted.size()), ms);
        // Reading 2 MB once takes milliseconds; the bound leaves room for a busy machine.
        QVERIFY2(ms < 3000, qPrintable(line));
        QVERIFY(messages(game).filter(QStringLiteral("Архив патча неисправен")).isEmpty());
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
    }

    void a_second_run_appends_to_the_log()
    {
        GameFolder game;
        for (int run = 0; run < 2; ++run) {
            LauncherProcess launcher;
            const QString window = start(game, launcher);
            QVERIFY(!window.isEmpty());
            launcher.click(window, LauncherProcess::exitButton);
            QCOMPARE(launcher.waitForExit(), 0);
        }
        QCOMPARE(messages(game).count(QStringLiteral("DEBUG | Запуск графического интерфейса")), 2);
    }

    void unusable_language_file_ends_with_one_and_no_window()
    {
        GameFolder game;
        install_language_file(game, QStringLiteral("config_en.json"), "{\"buttons\": [\"EXIT\"]}");
        LauncherProcess launcher;
        launcher.start(QStringLiteral(TESSARINE_EXE), game.launcher(), {QStringLiteral("en")});
        QCOMPARE(launcher.waitForExit(), 1);
        QCOMPARE(launcher.waitForWindow(500), QString());
        const QStringList lines = messages(game);
        QCOMPARE(lines.last(),
                 QStringLiteral("CRITICAL | Невозможно обработать файл: .config") + QDir::separator()
                     + QStringLiteral("config_en.json"));
        QVERIFY(lines.at(lines.size() - 2).startsWith(QStringLiteral("DEBUG | Ошибка в файле конфигурации: /buttons")));
        QVERIFY(!lines.contains(QStringLiteral("OK | Основное GUI загружено")));
    }

    void a_log_that_cannot_be_opened_does_not_stop_the_program()
    {
        GameFolder game;
        game.mkdir(QStringLiteral("launcher/events.log"));
        LauncherProcess launcher;
        const QString window = start(game, launcher);
        QVERIFY(!window.isEmpty());
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
