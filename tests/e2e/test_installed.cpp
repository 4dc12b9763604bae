#include "actions/game.h"
#include "support/gamefolder.h"
#include "support/x11session.h"

#include <QDirIterator>

#include <csignal>
#include <sys/stat.h>

namespace {

// Ends every process that holds `path` open (the demo's stand-in client).
void end_holders(const QString &path)
{
    struct stat target;
    if (::stat(QFile::encodeName(path).constData(), &target) != 0)
        return;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (pid.toInt() <= 0 || pid.toInt() == QCoreApplication::applicationPid())
            continue;
        QDirIterator fds(QStringLiteral("/proc/") + pid + QStringLiteral("/fd"), QDir::System | QDir::Files);
        while (fds.hasNext()) {
            struct stat st;
            if (::stat(QFile::encodeName(fds.next()).constData(), &st) == 0 && st.st_ino == target.st_ino
                && st.st_dev == target.st_dev) {
                ::kill(pid.toInt(), SIGKILL);
                break;
            }
        }
    }
}

}  // namespace

// The installed program in a demo game folder, driven through the X server.
class TestInstalled : public QObject
{
    Q_OBJECT

private:
    void make_demo(const GameFolder &game)
    {
        QDir(game.root()).removeRecursively();
        QCOMPARE(QProcess::execute(QStringLiteral(TESSARINE_SOURCE_DIR "/tools/make-demo-game"), {game.root()}), 0);
        QCOMPARE(QProcess::execute(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(TESSARINE_BUILD_DIR),
                                                             QStringLiteral("--prefix"), game.launcher()}),
                 0);
        QVERIFY(QFileInfo(game.launcher() + QStringLiteral("/tessarine")).isExecutable());
    }
    static QStringList messages(const GameFolder &game) { return game.logMessages(); }
    // Starts the installed launcher in `game` and waits for its window.
    static QString start(const GameFolder &game, LauncherProcess &launcher, const QString &language)
    {
        launcher.start(game.launcher() + QStringLiteral("/tessarine"), game.launcher(), {language});
        return launcher.waitForWindow();
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
        QVERIFY2(GameFolder::inOrder(lines, {"DEBUG | Запуск графического интерфейса",
                                             "DEBUG | Выбран языковой пакет: ru_ru",
                                             "DEBUG | Текущий файл конфигурации: config_ru.json",
                                             "OK | Основное GUI загружено", "OK | Динамические элементы загружены",
                                             "OK | Статические элементы загружены"}),
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
        LauncherProcess::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("620"),
                                  QStringLiteral("250"), QStringLiteral("mousedown"), QStringLiteral("1")});
        for (int step = 1; step <= 4; ++step)
            LauncherProcess::xdotool({QStringLiteral("mousemove"), QString::number(50 + 620 + 10 * step),
                                      QString::number(50 + 250 + 5 * step)});
        LauncherProcess::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTRY_COMPARE(window_position(window), QPoint(90, 70));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
    }

    void option_lists_stay_shut_while_the_game_holds_its_archive()
    {
        GameFolder game;
        make_demo(game);
        LauncherProcess launcher;
        const QString window = start(game, launcher, QStringLiteral("en"));
        QVERIFY(!window.isEmpty());
        // The arrow of the fonts row, and the launcher's mapped windows: the
        // main window, plus the list's popup while it is open.
        const QPoint fontsArrow(185, 141);
        const auto mapped = [&launcher] {
            return LauncherProcess::xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                             QString::number(launcher.processId())})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .size();
        };
        QCOMPARE(mapped(), 1);
        launcher.click(window, fontsArrow);
        QTRY_COMPARE(mapped(), 2);
        LauncherProcess::xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        QTRY_COMPARE(mapped(), 1);

        // The demo's game holds Data/patch-2.mpq open while it runs.
        QProcess client;
        client.setWorkingDirectory(game.launcher());
        client.start(QStringLiteral("../wow.exe"), QStringList());
        QVERIFY(client.waitForStarted());
        QTRY_VERIFY(tess::file_open_in_other_process(game.path(QStringLiteral("Data/patch-2.mpq"))));
        launcher.click(window, fontsArrow);
        QTest::qWait(700);
        QCOMPARE(mapped(), 1);
        end_holders(game.path(QStringLiteral("Data/patch-2.mpq")));
        client.waitForFinished();
        QTRY_VERIFY(!tess::file_open_in_other_process(game.path(QStringLiteral("Data/patch-2.mpq"))));
        launcher.click(window, fontsArrow);
        QTRY_COMPARE(mapped(), 2);
        LauncherProcess::xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        QTRY_COMPARE(mapped(), 1);
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
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
        QCOMPARE(messages(game).last(), QStringLiteral("CRITICAL | Невозможно обработать файл: .config/config_en.json"));
    }

    void the_run_button_starts_the_game_and_the_launcher_exits()
    {
        GameFolder game;
        make_demo(game);
        const QString archive = game.path(QStringLiteral("Data/patch-2.mpq"));
        LauncherProcess launcher;
        const QString window = start(game, launcher, QStringLiteral("en"));
        QVERIFY(!window.isEmpty());
        QVERIFY(!tess::file_open_in_other_process(archive));
        launcher.click(window, LauncherProcess::runButton);
        QCOMPARE(launcher.waitForExit(), 0);
        // The stand-in client runs on after the launcher and holds its archive.
        QTRY_VERIFY(tess::file_open_in_other_process(archive));
        end_holders(archive);
        QTRY_VERIFY(!tess::file_open_in_other_process(archive));
    }
};

QTEST_GUILESS_MAIN(TestInstalled)
#include "test_installed.moc"
