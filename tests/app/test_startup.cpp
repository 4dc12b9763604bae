#include "support/gamefolder.h"
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
    static QByteArray example()
    {
        QFile f(QStringLiteral(TESSARINE_SOURCE_DIR "/tests/data/config_example.json"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QStringList messages(const GameFolder &game) { return game.logMessages(); }
    // A game folder with the example language file, the launcher started in it.
    static QString start(const GameFolder &game, LauncherProcess &launcher)
    {
        install_language_file(game, QStringLiteral("config_en.json"), example());
        launcher.start(QStringLiteral(TESSARINE_EXE), game.launcher(), {QStringLiteral("en")});
        return launcher.waitForWindow();
    }

private slots:
    void start_logs_milestones_in_order_and_exit_button_ends_with_zero()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        LauncherProcess launcher;
        const QString window = start(game, launcher);
        QVERIFY2(!window.isEmpty(), launcher.output().constData());

        const QStringList lines = messages(game);
        const QStringList expected{
            "DEBUG | Запуск графического интерфейса",
            "DEBUG | Выбран языковой пакет: en",
            "OK | Основное GUI загружено",
            "OK | Динамические элементы загружены",
            "OK | Статические элементы загружены",
        };
        QVERIFY2(GameFolder::inOrder(lines, expected), qPrintable(lines.join('\n')));
        QVERIFY(lines.contains(QStringLiteral("DEBUG | Текущий файл конфигурации: config_en.json")));
        // The first line of the run is the first thing logged.
        QCOMPARE(lines.first(), expected.first());

        QFile::remove(game.path(QStringLiteral("launcher/.config/mediaplayer.ini")));
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
        QVERIFY(game.read(QStringLiteral("launcher/.config/mediaplayer.ini")).startsWith("[SETTINGS]"));
        QCOMPARE(messages(game).last(), QStringLiteral("OK | Конфигурация медиаплеера сохранена"));
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
