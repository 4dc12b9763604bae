#include "core/actions/game.h"
#include "core/config/langfile.h"
#include "core/config/notice_texts.h"
#include "support/gamefolder.h"
#include "support/milestones.h"
#include "support/x11session.h"

namespace {

// Whether any other process holds `path` open, by the launcher's own scan.
// Under Wine that is the wineserver, which holds the game's files for it.
bool held(const QString &path)
{
    const std::optional<tess::FileId> id = tess::file_id(path);
    return id && !tess::processes_holding(*id, 1).isEmpty();
}

// The demo's game is the Windows stand-in run by Wine, when the build has both.
bool under_wine() { return !QByteArray(TESSARINE_STANDIN_EXE).isEmpty(); }

}  // namespace

// The installed program in a demo game folder, driven through the X server.
class TestInstalled : public QObject
{
    Q_OBJECT

private:
    void make_demo(const GameFolder &game)
    {
        QDir(game.root()).removeRecursively();
        QProcess maker;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TESSARINE_STANDIN_EXE"), QStringLiteral(TESSARINE_STANDIN_EXE));
        maker.setProcessEnvironment(env);
        maker.start(QStringLiteral(TESSARINE_SOURCE_DIR "/tools/make-demo-game"), {game.root()});
        QVERIFY(maker.waitForFinished(60000));
        QCOMPARE(maker.exitCode(), 0);
        QCOMPARE(QProcess::execute(QStringLiteral("cmake"),
                                   {QStringLiteral("--install"), QStringLiteral(TESSARINE_BUILD_DIR),
                                    QStringLiteral("--prefix"), game.launcher()}),
                 0);
        QVERIFY(QFileInfo(game.launcher() + QStringLiteral("/tessarine")).isExecutable());
    }
    static QStringList messages(const GameFolder &game) { return game.logMessages(); }
    // What the demo's game wrote about its run (tools/standin), one line each.
    static QStringList marker(const GameFolder &game)
    {
        return QString::fromUtf8(game.read(QStringLiteral("standin-marker.txt")))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Starts the installed launcher in `game` and waits for its window.
    static QString start(const GameFolder &game, LauncherProcess &launcher, const QString &language)
    {
        launcher.start(game.launcher() + QStringLiteral("/tessarine"), game.launcher(), {language});
        return launcher.waitForWindow();
    }
    // The launcher's mapped windows: the main window, plus a list's popup while it is open.
    static int mapped(const LauncherProcess &launcher)
    {
        return LauncherProcess::xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--pid"), QString::number(launcher.processId())})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
            .size();
    }
    static QPoint window_position(const QString &window)
    {
        const QString out = LauncherProcess::xdotool({QStringLiteral("getwindowgeometry"), window});
        const auto m = QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+)")).match(out);
        return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-9999, -9999);
    }

private slots:
    void starts_logs_in_order_and_exit_ends_with_zero()
    {
        GameFolder game;
        make_demo(game);
        LauncherProcess launcher;
        const QString window = start(game, launcher, QStringLiteral("ru_ru"));
        QVERIFY2(!window.isEmpty(), launcher.output().constData());
        const QStringList lines = messages(game);
        QVERIFY2(
            GameFolder::inOrder(lines, startup_milestones(QStringLiteral("ru_ru"), QStringLiteral("config_ru.json"))),
            qPrintable(lines.join('\n')));
        QVERIFY(lines.filter(QStringLiteral("DEBUG | Длина полосы прокрутки: ")).size() == 1);
        QFile::remove(game.path(QStringLiteral("launcher/.config/mediaplayer.ini")));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
        QVERIFY(game.read(QStringLiteral("launcher/.config/mediaplayer.ini")).startsWith("[SETTINGS]"));
    }

    void a_drag_on_the_background_moves_the_window()
    {
        GameFolder game;
        make_demo(game);
        LauncherProcess launcher;
        const QString window = start(game, launcher, QStringLiteral("en"));
        QVERIFY(!window.isEmpty());
        LauncherProcess::xdotool({QStringLiteral("windowmove"), window, QStringLiteral("50"), QStringLiteral("50")});
        QTRY_COMPARE(window_position(window), QPoint(50, 50));
        LauncherProcess::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                                  QStringLiteral("620"), QStringLiteral("250"), QStringLiteral("mousedown"),
                                  QStringLiteral("1")});
        for (int step = 1; step <= 4; ++step)
            LauncherProcess::xdotool({QStringLiteral("mousemove"), QString::number(50 + 620 + 10 * step),
                                      QString::number(50 + 250 + 5 * step)});
        LauncherProcess::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTRY_COMPARE(window_position(window), QPoint(90, 70));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
    }

    // Each click that cannot do what was asked is read out by a screen
    // reader, in the language file's words, and logged; the same clicks made
    // harmless say nothing. While the game runs, or counts as running, no
    // list opens.
    void every_refusal_and_failure_is_read_out_and_logged_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("ru") << QStringLiteral("ru");
    }
    void every_refusal_and_failure_is_read_out_and_logged()
    {
        QFETCH(QString, language);
        ScreenReader reader;
        QVERIFY2(reader.ready(), "the accessibility bus did not start");
        GameFolder game;
        make_demo(game);
        const QString languageFile = QStringLiteral("launcher/.config/config_%1.json").arg(language);
        const tess::NoticeTexts t = tess::notice_texts(tess::read_language_file(game.read(languageFile)).doc);
        const QLocale numbers = tess::file_language(QFileInfo(languageFile).fileName());
        LauncherProcess launcher;
        const auto spoken = [&launcher] { return ScreenReader::spoken(launcher.processId()); };
        // Waits until a text read out holds every part, and names what was read.
#define QTRY_READS(...)                                                                                                \
    QTRY_VERIFY2(ScreenReader::reads(spoken(), {__VA_ARGS__}), qPrintable(spoken().join(QStringLiteral(" | "))))
        // The warnings the launcher logged, the start's about the demo's rows and archives aside.
        const auto warnings = [&game] {
            return messages(game).filter(QRegularExpression(
                QStringLiteral("^WARNING \\| (?!Архив патча неисправен|Условия для |Статус для фрейма )")));
        };

        // Outside a game folder: said at once, and it stays; RUN and CLEAR refuse.
        QVERIFY(QFile::remove(game.path(QStringLiteral("wow.exe"))));
        QVERIFY(QDir(game.path(QStringLiteral("Data"))).removeRecursively());
        const QString folder = QDir::toNativeSeparators(QDir(game.root()).absolutePath());
        QString window = start(game, launcher, language);
        QVERIFY(!window.isEmpty());
        QTRY_READS(t.notGameFolder.arg(folder));
        launcher.click(window, LauncherProcess::runButton);
        launcher.click(window, LauncherProcess::cleanButton);
        QTest::qWait(500);
        QVERIFY(game.exists(QStringLiteral("cache")));
        QVERIFY(ScreenReader::reads(spoken(), {t.notGameFolder.arg(folder)}));
        // Said at the start and at each refused click.
        const QString outside = QStringLiteral("WARNING | Папка игры не найдена: нет wow.exe и Data в ") + folder;
        QVERIFY2(warnings() == QStringList({outside, outside, outside}), qPrintable(warnings().join('\n')));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);

        // In the demo's game folder, with no browser and no Wine to be found.
        make_demo(game);
        QVERIFY(QFile::setPermissions(game.path(QStringLiteral("wow.exe")), QFile::ReadOwner | QFile::WriteOwner));
        game.mkdir(QStringLiteral("bin"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"), game.path(QStringLiteral("bin")));
        for (const char *name : {"WINE", "BROWSER", "DEFAULT_BROWSER"})
            env.remove(QString::fromLatin1(name));
        launcher.setEnvironment(env);
        window = start(game, launcher, language);
        QVERIFY(!window.isEmpty());
        QTRY_VERIFY(!spoken().isEmpty());
        const QStringList quiet = spoken();
        QVERIFY2(!ScreenReader::reads(quiet, {folder}), qPrintable(quiet.join(QStringLiteral(" | "))));
        const QPoint texturesArrow(185, 196);  // the row "HD textures", patch a

        // The game's archive missing counts as running; then the game holding it.
        const QString probe = game.path(QStringLiteral("Data/patch-2.mpq"));
        QVERIFY(QFile::rename(probe, probe + QStringLiteral(".away")));
        launcher.click(window, texturesArrow);
        QTRY_READS(t.probeMissing);
        QCOMPARE(mapped(launcher), 1);
        QVERIFY(QFile::rename(probe + QStringLiteral(".away"), probe));
        // The demo's game, started as the launcher starts it, holds it open while it runs.
        QProcessEnvironment gameEnv = QProcessEnvironment::systemEnvironment();
        gameEnv.insert(QStringLiteral("TESSARINE_STANDIN_HOLD"), QStringLiteral("120"));
        const tess::LaunchCommand command =
            tess::launch_commands(game.path(QStringLiteral("wow.exe")), gameEnv, true).first();
        QProcess client;
        client.setWorkingDirectory(game.launcher());
        client.setProcessEnvironment(command.environment);
        client.start(command.program, command.arguments);
        QVERIFY(client.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(marker(game).contains(QStringLiteral("archive=held")), 120000);
        QVERIFY(held(probe));
        launcher.click(window, texturesArrow);
        QTRY_READS(t.gameRunning);
        QCOMPARE(mapped(launcher), 1);
        client.kill();
        client.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(!held(probe), 30000);
        // Free: the list opens, and the click ended the notice.
        launcher.click(window, texturesArrow);
        QTRY_COMPARE(mapped(launcher), 2);
        LauncherProcess::xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        QTRY_COMPARE(mapped(launcher), 1);
        QCOMPARE(spoken(), quiet);

        // "Off" on a write-protected data folder names the file and why; then it goes through.
        const auto pick_off = [&] {
            launcher.click(window, texturesArrow);
            QTRY_COMPARE(mapped(launcher), 2);
            LauncherProcess::xdotool({QStringLiteral("key"), QStringLiteral("End"), QStringLiteral("Return")});
            QTRY_COMPARE(mapped(launcher), 1);
        };
        {
            Immutable lock(game.path(QStringLiteral("Data")));
            REQUIRE_IMMUTABLE(lock);
            pick_off();
            QTRY_READS(t.switchFailed.arg(QStringLiteral("Data/patch-a.mpq"), t.accessDenied));
        }
        QVERIFY(game.exists(QStringLiteral("Data/patch-a.mpq")));
        pick_off();
        QTRY_VERIFY(game.exists(QStringLiteral("Data/patch-a.mpq.disabled")));
        QCOMPARE(spoken(), quiet);

        // The cleaning says what it freed; a file it must leave is named, and
        // the other targets are cleaned all the same.
        launcher.click(window, LauncherProcess::cleanButton);
        QTRY_VERIFY(!game.exists(QStringLiteral("cache")));
        game.touch(QStringLiteral("cache/a/b.wdb"), QByteArray(2048, 'x'));
        launcher.click(window, LauncherProcess::cleanButton);
        QTRY_READS(t.cleaned.arg(tess::size_text(2048, numbers), tess::count_text(1, numbers)));
        game.touch(QStringLiteral("cache/WDB/enUS/creaturecache.wdb"));
        game.touch(QStringLiteral("logs/combat.log"));
        {
            Immutable lock(game.path(QStringLiteral("cache/WDB/enUS/creaturecache.wdb")));
            REQUIRE_IMMUTABLE(lock);
            launcher.click(window, LauncherProcess::cleanButton);
            QTRY_READS(t.cleanStopped.arg(QStringLiteral("cache/WDB/enUS/creaturecache.wdb"), t.accessDenied));
        }
        QVERIFY(!game.exists(QStringLiteral("logs/combat.log")));

        // The community link without a browser gives the address; with one, nothing is said.
        const QPoint linkButton(677, 45);
        launcher.click(window, linkButton);
        QTRY_READS(t.linkFailed.arg(tess::community_invitation()));
        game.touch(QStringLiteral("bin/xdg-open"), "#!/bin/sh\necho \"$1\" > \"${0%/*}/opened.txt\"\n");
        QVERIFY(QFile::setPermissions(game.path(QStringLiteral("bin/xdg-open")), QFile::ReadOwner | QFile::ExeOwner));
        launcher.click(window, linkButton);
        QTRY_COMPARE(game.read(QStringLiteral("bin/opened.txt")), tess::community_invitation().toUtf8() + '\n');
        QCOMPARE(spoken(), quiet);

        // RUN with a game that is no program and no Wine, then with no game: the window stays.
        launcher.click(window, LauncherProcess::runButton);
        QTRY_READS(t.launchFailed.arg(QStringLiteral("wow.exe"), t.noWine));
        QVERIFY(QFile::remove(game.path(QStringLiteral("wow.exe"))));
        launcher.click(window, LauncherProcess::runButton);
        QTRY_READS(t.launchFailed.arg(QStringLiteral("wow.exe"), t.missing));
#undef QTRY_READS

        QCOMPARE(mapped(launcher), 1);
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
        // One warning for each failure, in order, none for what went through.
        const QStringList logged = warnings();
        const QStringList expected = {
            QStringLiteral("WARNING | Действие отклонено: нет файла data/patch-2.mpq"),
            QStringLiteral("WARNING | Действие отклонено: игра запущена"),
            QStringLiteral("WARNING | Не удалось переименовать файл: Data/patch-a.mpq — "),
            QStringLiteral("WARNING | Очистка не завершена, оставлено: cache/WDB/enUS/creaturecache.wdb: "),
            QStringLiteral("WARNING | Не удалось открыть ссылку: ") + tess::community_invitation(),
            QStringLiteral("WARNING | Не удалось запустить игру: wow.exe — ") + t.noWine,
            QStringLiteral("WARNING | Не удалось запустить игру: wow.exe — ") + t.missing,
        };
        QVERIFY2(logged.size() == expected.size(), qPrintable(logged.join('\n')));
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(logged.at(i).startsWith(expected.at(i)), qPrintable(logged.at(i)));
        QCOMPARE(messages(game).filter(QStringLiteral("OK | Очистка завершена: освобождено 2.0 KB, файлов: 1")).size(),
                 1);
    }

    void a_broken_language_file_ends_with_one_and_no_window()
    {
        GameFolder game;
        make_demo(game);
        game.touch(QStringLiteral("launcher/.config/config_en.json"), "{\"buttons\": [\"EXIT\", \"CLEAN\"]}");
        LauncherProcess launcher;
        launcher.start(game.launcher() + QStringLiteral("/tessarine"), game.launcher(), {QStringLiteral("en")});
        QCOMPARE(launcher.waitForExit(), 1);
        QCOMPARE(launcher.waitForWindow(300), QString());
        QCOMPARE(messages(game).last(),
                 QStringLiteral("CRITICAL | Невозможно обработать файл: .config/config_en.json"));
    }

    // A FIFO in place of the language file would hold the start in open() for
    // ever: it is not a regular file, so the file is unusable.
    void a_language_file_that_is_a_fifo_ends_with_one_and_no_window()
    {
        GameFolder game;
        make_demo(game);
        const QString path = game.path(QStringLiteral("launcher/.config/config_en.json"));
        QVERIFY(QFile::remove(path));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        LauncherProcess launcher;
        launcher.start(game.launcher() + QStringLiteral("/tessarine"), game.launcher(), {QStringLiteral("en")});
        QCOMPARE(launcher.waitForExit(), 1);
        QCOMPARE(messages(game).last(),
                 QStringLiteral("CRITICAL | Невозможно обработать файл: .config/config_en.json"));
    }

    // The only English file is named with a byte that is not UTF-8 (its
    // code "en_" and that byte): it is chosen, and opened by the bytes it was
    // listed with.
    void a_language_file_named_with_stray_bytes_is_opened()
    {
        GameFolder game;
        make_demo(game);
        const QByteArray folder = game.nativePath("launcher/.config/");
        QCOMPARE(::rename((folder + "config_en.json").constData(), (folder + "config_en_\xff.json").constData()), 0);
        LauncherProcess launcher;
        const QString window = start(game, launcher, QStringLiteral("en"));
        QVERIFY2(!window.isEmpty(), qPrintable(messages(game).join('\n')));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
    }

    // A settings file that is a FIFO, or too large to be read whole (a sparse
    // 1,100 MiB file), is a fault: the start goes on at the default volume and
    // the file is not replaced at the close.
    void odd_settings_files_are_faults_left_as_they_are_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("FIFO") << true;
        QTest::newRow("sparse 1,100 MiB") << false;
    }
    void odd_settings_files_are_faults_left_as_they_are()
    {
        QFETCH(bool, fifo);
        GameFolder game;
        make_demo(game);
        const QString path = game.path(QStringLiteral("launcher/.config/mediaplayer.ini"));
        QFile::remove(path);
        const qint64 size = qint64(1100) << 20;
        if (fifo) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[SETTINGS]\nvolume = 50\n") > 0
                    && file.resize(size));
        }
        LauncherProcess launcher;
        const QString window = start(game, launcher, QStringLiteral("en"));
        QVERIFY2(!window.isEmpty(), launcher.output().constData());
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
        const QFileInfo after(path);
        if (fifo) {
            struct stat st;
            QVERIFY(::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        } else {
            QCOMPARE(after.size(), size);
        }
        QVERIFY(!messages(game).contains(QStringLiteral("OK | Конфигурация медиаплеера сохранена")));
    }

    // Wine is told to prefer DXVK's d3d9.dll while the DXVK row is on; an
    // entry the user set stays. Under Wine the game goes through the `wine`
    // that WINE names: a script that notes its arguments and runs the real one.
    void the_run_button_starts_the_game_and_the_launcher_exits_data()
    {
        QTest::addColumn<bool>("dxvk");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("executable");  // wow.exe with execute bits, as NTFS and exFAT show it
        const QString base = QStringLiteral("mscoree,mshtml,winemenubuilder.exe=;dxgi=b");
        QTest::newRow("DXVK on") << true << base << base + QStringLiteral(";d3d9=n,b") << false;
        QTest::newRow("DXVK off, the user's d3d9")
            << false << base + QStringLiteral(";d3d9=b") << base + QStringLiteral(";d3d9=b") << false;
        QTest::newRow("DXVK on, the user's d3d9 after a space, execute bits")
            << true << base + QStringLiteral(";dxgi d3d9=b") << base + QStringLiteral(";dxgi d3d9=b") << true;
    }
    void the_run_button_starts_the_game_and_the_launcher_exits()
    {
        QFETCH(bool, dxvk);
        QFETCH(QString, user);
        QFETCH(QString, expected);
        QFETCH(bool, executable);
        if (executable && !under_wine())
            QSKIP("the demo's game is a Windows program only when MinGW-w64 and Wine are at hand");
        GameFolder game;
        make_demo(game);
        if (executable)
            QVERIFY(QFile::setPermissions(game.path(QStringLiteral("wow.exe")),
                                          QFile::permissions(game.path(QStringLiteral("wow.exe"))) | QFile::ExeOwner
                                              | QFile::ExeGroup | QFile::ExeOther));
        if (!dxvk)
            QVERIFY(
                QFile::rename(game.path(QStringLiteral("d3d9.dll")), game.path(QStringLiteral("d3d9.dll.disabled"))));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WINEDLLOVERRIDES"), user);
        env.insert(QStringLiteral("TESSARINE_STANDIN_HOLD"), QStringLiteral("2"));
        if (under_wine()) {
            game.touch(QStringLiteral("bin/wine"),
                       "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments.txt\"\n"
                       "exec " TESSARINE_WINE " \"$@\"\n");
            QFile::setPermissions(game.path(QStringLiteral("bin/wine")), QFile::ReadOwner | QFile::ExeOwner);
            env.insert(QStringLiteral("WINE"), game.path(QStringLiteral("bin/wine")));
        }
        const QString archive = game.path(QStringLiteral("Data/patch-2.mpq"));
        LauncherProcess launcher;
        launcher.setEnvironment(env);
        const QString window = start(game, launcher, QStringLiteral("en"));
        QVERIFY(!window.isEmpty());
        QVERIFY(!held(archive));
        launcher.click(window, LauncherProcess::runButton);
        QCOMPARE(launcher.waitForExit(), 0);
        // The game runs on after the launcher, holds its archive, and ends.
        QTRY_VERIFY_WITH_TIMEOUT(marker(game).contains(QStringLiteral("released")), 120000);
        const QStringList seen = marker(game);
        qInfo("the game recorded: %s", qPrintable(seen.join(QStringLiteral(" | "))));
        QCOMPARE(seen.filter(QRegularExpression(QStringLiteral("^argument"))), QStringList{"arguments=0"});
        QVERIFY(seen.contains(QStringLiteral("archive=held")));
        QVERIFY(seen.filter(QRegularExpression(QStringLiteral("^directory=.*[/\\\\]launcher$"))).size() == 1);
        QCOMPARE(seen.filter(QStringLiteral("WINEDLLOVERRIDES=")),
                 QStringList{QStringLiteral("WINEDLLOVERRIDES=") + expected});
        if (under_wine())
            QCOMPARE(game.read(QStringLiteral("bin/arguments.txt")), QByteArray("../wow.exe\n"));
        QTRY_VERIFY_WITH_TIMEOUT(!held(archive), 30000);
    }

    void the_demos_cut_archive_is_named_in_the_log_and_by_the_check_command()
    {
        GameFolder game;
        make_demo(game);
        LauncherProcess launcher;
        const QString window = start(game, launcher, QStringLiteral("en"));
        QVERIFY(!window.isEmpty());
        const QString checked = QStringLiteral("DEBUG | Архивы патчей проверены: 26 за ");
        QTRY_VERIFY_WITH_TIMEOUT(!messages(game).filter(checked).isEmpty(), 30000);
        const QRegularExpression reason(QStringLiteral("cut short: 0\\.\\d\\d of 0\\.\\d\\d MB$"));
        const QStringList warned = messages(game).filter(QStringLiteral("WARNING | Архив патча неисправен: "));
        QCOMPARE(warned.size(), 1);
        QVERIFY2(warned.first().startsWith(QStringLiteral("WARNING | Архив патча неисправен: ../Data/patch-d.mpq — "))
                     && reason.match(warned.first()).hasMatch(),
                 qPrintable(warned.first()));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
        QVERIFY(game.read(QStringLiteral("launcher/.config/archives.cache")).contains("../Data/patch-d.mpq"));

        // The same from the command line, with no display at all.
        QProcess check;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        check.setProcessEnvironment(env);
        check.setWorkingDirectory(game.launcher());
        check.start(game.launcher() + QStringLiteral("/tessarine"), {QStringLiteral("--check")});
        QVERIFY(check.waitForFinished(30000));
        QCOMPARE(check.exitCode(), 1);
        const QStringList lines =
            QString::fromUtf8(check.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 27);
        QCOMPARE(lines.filter(QStringLiteral("\tsound\tsound")).size(), 25);
        const QStringList cut = lines.filter(QStringLiteral("Data/patch-d.mpq\tcut-short\t"));
        QCOMPARE(cut.size(), 1);
        QVERIFY2(reason.match(cut.first()).hasMatch(), qPrintable(cut.first()));
        QCOMPARE(lines.last(), QStringLiteral("26 archives checked, 1 not sound"));

        // Output that is lost is a failure, and an option nobody knows is refused without a window.
        const auto status = [&](const QStringList &args, const QString &out) {
            QProcess run;
            run.setProcessEnvironment(env);
            run.setWorkingDirectory(game.launcher());
            if (!out.isEmpty())
                run.setStandardOutputFile(out);
            run.start(game.launcher() + QStringLiteral("/tessarine"), args);
            return run.waitForFinished(30000) ? run.exitCode() : -1;
        };
        if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
            QCOMPARE(status({QStringLiteral("--list")}, QStringLiteral("/dev/full")), 1);
            QCOMPARE(status({QStringLiteral("--help")}, QStringLiteral("/dev/full")), 1);
        }
        QCOMPARE(status({QStringLiteral("--lsit")}, QString()), 2);
        QCOMPARE(status({QStringLiteral("--check"), QStringLiteral("--bogus")}, QString()), 2);
    }
};

QTEST_GUILESS_MAIN(TestInstalled)
#include "test_installed.moc"
