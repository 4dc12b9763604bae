#include "actions/game.h"
#include "support/gamefolder.h"

#include <QThread>
#include <QUrl>

#include <unistd.h>

using namespace tess;

namespace {

// A child process that holds `path` open read-only until killed.
class Holder
{
public:
    explicit Holder(const QString &path)
    {
        process_.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec 3<\"$0\"; exec sleep 60"), path});
        process_.waitForStarted();
        // Wait until the descriptor is really open.
        const QString fd = QStringLiteral("/proc/%1/fd/3").arg(process_.processId());
        for (int i = 0; i < 100 && !QFileInfo::exists(fd); ++i)
            QThread::msleep(20);
        QThread::msleep(50);
    }
    ~Holder()
    {
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
};

}  // namespace

class TestGame : public QObject
{
    Q_OBJECT

private slots:
    void missing_archive_counts_as_running()
    {
        GameFolder game;
        QVERIFY(game_holds_archive());
    }

    void free_archive_in_any_case_is_not_running()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.MPQ"), "archive");
        QVERIFY(!game_holds_archive());
        QCOMPARE(game.names(QStringLiteral("Data")), QStringList{"patch-2.MPQ"});
        QCOMPARE(game.read(QStringLiteral("Data/patch-2.MPQ")), QByteArray("archive"));
    }

    void archive_held_by_another_process_counts_as_running()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"), "archive");
        {
            Holder holder(game.path(QStringLiteral("Data/patch-2.mpq")));
            QVERIFY(game_holds_archive());
            QVERIFY(file_open_in_other_process(QStringLiteral("../Data/patch-2.mpq")));
        }
        QVERIFY(!game_holds_archive());
        QVERIFY(!file_open_in_other_process(QStringLiteral("../Data/patch-2.mpq")));
        QCOMPARE(game.read(QStringLiteral("Data/patch-2.mpq")), QByteArray("archive"));
    }

    void archive_held_through_a_hard_link_counts_as_running()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"), "archive");
        QVERIFY(::link(QFile::encodeName(game.path(QStringLiteral("Data/patch-2.mpq"))).constData(),
                       QFile::encodeName(game.path(QStringLiteral("other-name.mpq"))).constData()) == 0);
        Holder holder(game.path(QStringLiteral("other-name.mpq")));
        QVERIFY(game_holds_archive());
        QVERIFY(file_open_in_other_process(QStringLiteral("../Data/patch-2.mpq")));
        QCOMPARE(game.names(QStringLiteral("Data")), QStringList{"patch-2.mpq"});
    }

    void wine_runs_a_game_that_is_not_executable_itself()
    {
        GameFolder game;
        game.touch(QStringLiteral("wow.exe"), "MZ");
        game.touch(QStringLiteral("bin/wine"), "#!/bin/sh\n");
        QFile::setPermissions(game.path(QStringLiteral("bin/wine")), QFile::ReadOwner | QFile::ExeOwner);
        const QString bin = game.path(QStringLiteral("bin"));
        LaunchCommand c = launch_command(QStringLiteral("../wow.exe"), QStringLiteral("/nonexistent:") + bin);
        QCOMPARE(c.program, bin + QStringLiteral("/wine"));
        QCOMPARE(c.arguments, QStringList{"../wow.exe"});
        // Without wine on the path the game itself is tried.
        c = launch_command(QStringLiteral("../wow.exe"), QStringLiteral("/nonexistent"));
        QCOMPARE(c.program, QStringLiteral("../wow.exe"));
        QVERIFY(c.arguments.isEmpty());
        // An executable game runs as it is.
        QFile::setPermissions(game.path(QStringLiteral("wow.exe")), QFile::ReadOwner | QFile::ExeOwner);
        c = launch_command(QStringLiteral("../wow.exe"), bin);
        QCOMPARE(c.program, QStringLiteral("../wow.exe"));
        QVERIFY(c.arguments.isEmpty());
    }

    void game_is_found_in_any_case()
    {
        GameFolder game;
        QCOMPARE(game_executable(), QStringLiteral("../wow.exe"));
        game.touch(QStringLiteral("WoW.exe"));
        QCOMPARE(game_executable(), QStringLiteral("../WoW.exe"));
    }

    void invitation_is_one_address()
    {
        const QUrl url(community_invitation());
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        QVERIFY(!url.host().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "test_game.moc"
