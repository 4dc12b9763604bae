#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "support/gamefolder.h"
#include "support/languagefile.h"

#include <QtTest>

using namespace tess;
using namespace tess::cli;

namespace {

// The example's patch a off on disk and b on: b's condition fails.
void b_on_without_a(const GameFolder &game)
{
    game.touch(QStringLiteral("launcher/.config/config_en.json"), example_language_file());
    game.touch(QStringLiteral("Data/patch-2.mpq"));
    game.touch(QStringLiteral("Data/patch-a.mpq.disabled"));
    game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq.disabled"));
    game.touch(QStringLiteral("Data/patch-b.mpq"));
    game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq"));
}

// The row line --list prints for `key`, its fields.
QStringList row_of(const QString &listing, const QString &key)
{
    for (const QString &line : listing.split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('\t')))
            return line.split(QLatin1Char('\t'));
    return {};
}

}  // namespace

// The command line's commands, run without a display as a script runs them.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    // What the window shows once started, with nothing renamed for it.
    void list_shows_the_rows_after_the_windows_start_and_changes_nothing()
    {
        GameFolder game;
        b_on_without_a(game);
        const QStringList before = game.names(QStringLiteral("Data"));
        QString text;
        Output out(&text);
        QCOMPARE(list_command({QStringLiteral("en")}, out), kExitDone);
        const QStringList b = row_of(text, QStringLiteral("b"));
        QCOMPARE(b.value(2), QStringLiteral("Off"));
        QCOMPARE(b.value(4), QStringLiteral("Needs patch A; the window's start switches it off"));
        QCOMPARE(row_of(text, QStringLiteral("a")).value(4), QString());
        QCOMPARE(game.names(QStringLiteral("Data")), before);
    }

    // A pick on a row the conditions switch off is refused before anything
    // is renamed, also the picks before it; in order, a pick that first
    // meets the condition makes the next one possible.
    void set_refuses_a_row_switched_off_and_changes_nothing()
    {
        GameFolder game;
        b_on_without_a(game);
        game.touch(QStringLiteral("wow.exe"));
        const QStringList before = game.names(QStringLiteral("Data"));
        QString text;
        Output out(&text);
        QCOMPARE(set_command({QStringLiteral("fonts=1"), QStringLiteral("b=On"), QStringLiteral("en")}, out),
                 kExitUnknown);
        QCOMPARE(game.names(QStringLiteral("Data")), before);
        QCOMPARE(set_command({QStringLiteral("a=On"), QStringLiteral("b=On"), QStringLiteral("en")}, out), kExitDone);
        QVERIFY(game.exists(QStringLiteral("Data/patch-a.mpq")));
        QVERIFY(game.exists(QStringLiteral("Data/patch-b.mpq")));
    }

    void outside_a_game_folder_every_command_ends_with_four()
    {
        GameFolder game;
        game.touch(QStringLiteral("launcher/.config/config_en.json"), example_language_file());
        QString text;
        Output out(&text);
        QCOMPARE(list_command({}, out), kExitNotGameFolder);
        QCOMPARE(set_command({QStringLiteral("a=On")}, out), kExitNotGameFolder);
        QCOMPARE(check_command({}, out), kExitNotGameFolder);
        QVERIFY(text.isEmpty());
        // Nothing of the game folder was made.
        QCOMPARE(game.names(QString()), QStringList{"launcher"});
    }

    // Each command takes exactly what --help shows; anything that starts with
    // "-" and is no option of this program or of Qt's is refused.
    void arguments_are_taken_only_as_help_shows_them_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("pairs");
        QTest::addColumn<bool>("usable");
        QTest::newRow("--check --bogus") << "--check" << QStringList{"--bogus"} << false << false;
        QTest::newRow("--check a=1") << "--check" << QStringList{"a=1"} << false << false;
        QTest::newRow("--check en ru") << "--check" << QStringList{"en", "ru"} << false << false;
        QTest::newRow("--check ru") << "--check" << QStringList{"ru"} << false << true;
        QTest::newRow("--set a=1 -x") << "--set" << QStringList{"a=1", "-x"} << true << false;
        QTest::newRow("--set a=1 b=0 ru") << "--set" << QStringList{"a=1", "b=0", "ru"} << true << true;
    }
    void arguments_are_taken_only_as_help_shows_them()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, args);
        QFETCH(bool, pairs);
        QFETCH(bool, usable);
        const Arguments a = parse_arguments(option, args, pairs ? Pairs::Taken : Pairs::Refused);
        QCOMPARE(a.error.isEmpty(), usable);
    }

    void the_window_takes_only_a_language_and_qts_own_options()
    {
        for (const char *arg : {"--lsit", "--Set", "--chek", "-", "--reverse=1"})
            QVERIFY2(!unknown_window_option({QStringLiteral("en"), QLatin1String(arg)}).isEmpty(), arg);
        QCOMPARE(unknown_window_option({QStringLiteral("ru")}), QString());
        QCOMPARE(
            unknown_window_option({QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("en")}),
            QString());
        QCOMPARE(unknown_window_option({QStringLiteral("--style=fusion"), QStringLiteral("-reverse")}), QString());
        // A value is a value, even one that looks like an option.
        QCOMPARE(unknown_window_option({QStringLiteral("-stylesheet"), QStringLiteral("-x.qss")}), QString());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
