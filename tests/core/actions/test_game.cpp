#include "core/actions/game.h"
#include "core/patches/option_rows.h"
#include "support/gamefolder.h"

#include <QThread>
#include <QUrl>

#include <future>

using namespace tess;

namespace {

// A child process that holds `path` open until killed. On Windows the game's
// stand-in, a Windows program, holds it as the game does (no delete sharing);
// elsewhere a shell holds it read-only, or, given a script of its own (with
// the path as $0), does whatever that script does.
class Holder
{
public:
    explicit Holder(const QString &path,
                    const QString &script = QStringLiteral("exec 3<\"$0\"; echo ready; exec sleep 60"))
    {
        QElapsedTimer timer;
        if (kWindows) {
            const QString marker = path + QStringLiteral(".marker");
            // Found from this program's own folder: the build machine's path of it
            // means nothing to Windows.
            process_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../standin/wow.exe"),
                           {QStringLiteral("--hold"), QStringLiteral("60"), QStringLiteral("--archive"),
                            QDir::toNativeSeparators(path), QStringLiteral("--marker"),
                            QDir::toNativeSeparators(marker)});
            process_.waitForStarted();
            timer.start();
            while (!GameFolder::readFile(marker).contains("archive=") && timer.elapsed() < 20000)
                QThread::msleep(50);
            return;
        }
        process_.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, path});
        process_.waitForStarted();
        // Wait until the file is really open (or mapped).
        timer.start();
        while (!process_.canReadLine() && timer.elapsed() < 20000)
            process_.waitForReadyRead(100);
    }
    qint64 pid() const { return process_.processId(); }
    ~Holder()
    {
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
};

// The processes other than this one that the core's scan finds holding `path`.
QList<qint64> holders(const QString &path)
{
    const std::optional<FileId> id = file_id(path);
    return id ? processes_holding(*id) : QList<qint64>();
}

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
            // Windows shows no process the files of another.
            if (!kWindows)
                QCOMPARE(holders(QStringLiteral("../Data/patch-2.mpq")), QList<qint64>{holder.pid()});
        }
        QVERIFY(!game_holds_archive());
        if (!kWindows)
            QVERIFY(holders(QStringLiteral("../Data/patch-2.mpq")).isEmpty());
        QCOMPARE(game.read(QStringLiteral("Data/patch-2.mpq")), QByteArray("archive"));
    }

    POSIX_ONLY_TESTS
    void archive_held_through_a_hard_link_counts_as_running()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"), "archive");
        QVERIFY(
            make_hard_link(game.path(QStringLiteral("Data/patch-2.mpq")), game.path(QStringLiteral("other-name.mpq"))));
        Holder holder(game.path(QStringLiteral("other-name.mpq")));
        QVERIFY(game_holds_archive());
        QCOMPARE(holders(QStringLiteral("../Data/patch-2.mpq")), QList<qint64>{holder.pid()});
        QCOMPARE(game.names(QStringLiteral("Data")), QStringList{"patch-2.mpq"});
    }

    // A write lease is broken by any open of the file, and the break signal
    // ends a process that does not handle it.
    void a_concurrent_open_does_not_end_the_prober()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"), "archive");
        const QString loop = QStringLiteral("echo ready; while :; do : <\"$0\"; done");
        Holder opener1(game.path(QStringLiteral("Data/patch-2.mpq")), loop);
        Holder opener2(game.path(QStringLiteral("Data/patch-2.mpq")), loop);
        int held = 0;
        for (int i = 0; i < 1000; ++i)
            held += game_holds_archive() ? 1 : 0;
        qInfo("held in %d of 1000 probes", held);
        // An open inside the lease's few microseconds is rare; the signal
        // that it brings shows the same without the race.
        send_lease_break_signal();
        QCOMPARE(game.read(QStringLiteral("Data/patch-2.mpq")), QByteArray("archive"));
    }

    // Mapped and its descriptor closed, the file is still in use.
    void the_scan_sees_a_mapping_without_a_descriptor()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"), "archive");
        // Python's own mmap keeps a duplicate descriptor; the C library's does not.
        Holder mapper(
            game.path(QStringLiteral("Data/patch-2.mpq")),
            QStringLiteral(
                "exec python3 -c 'import ctypes, os, sys, time\n"
                "libc = ctypes.CDLL(None); libc.mmap.restype = ctypes.c_void_p\n"
                "fd = os.open(sys.argv[1], os.O_RDONLY)\n"
                "assert libc.mmap(None, ctypes.c_size_t(7), 1, 1, fd, ctypes.c_long(0)) not in (None, 2**64 - 1)\n"
                "os.close(fd); print(\"ready\", flush=True); time.sleep(60)' \"$0\""));
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(mapper.pid()));
        for (const QString &fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot))
            QVERIFY(!QFileInfo(fds.filePath(fd)).symLinkTarget().endsWith(QStringLiteral("patch-2.mpq")));
        QCOMPARE(holders(QStringLiteral("../Data/patch-2.mpq")), QList<qint64>{mapper.pid()});
    }

    // Opening a FIFO for reading waits for a writer; the probe must not.
    void a_fifo_in_place_of_the_archive_does_not_hang_the_probe()
    {
        GameFolder game;
        game.mkdir(QStringLiteral("Data"));
        const QString fifo = game.path(QStringLiteral("Data/patch-2.mpq"));
        QVERIFY(make_fifo(fifo));
        auto probe = std::async(std::launch::async, [] { return game_holds_archive(); });
        if (probe.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            // Release the blocked open so that the test can end.
            const FifoWriter writer(fifo);
            probe.wait();
            QFAIL("the probe blocked on the FIFO");
        }
        QCOMPARE(probe.get(), false);
    }

    void wine_runs_a_game_that_is_not_executable_itself()
    {
        GameFolder game;
        game.touch(QStringLiteral("wow.exe"), "MZ");
        for (const char *name : {"bin/wine", "own/wine-build"}) {
            game.touch(QString::fromLatin1(name), "#!/bin/sh\n");
            QFile::setPermissions(game.path(QString::fromLatin1(name)), QFile::ReadOwner | QFile::ExeOwner);
        }
        const QString bin = game.path(QStringLiteral("bin"));
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), QStringLiteral("/nonexistent:") + bin);
        QList<LaunchCommand> all = launch_commands(QStringLiteral("../wow.exe"), env, false);
        QCOMPARE(all.size(), 1);
        LaunchCommand c = all.first();
        QCOMPARE(c.program, bin + QStringLiteral("/wine"));
        QCOMPARE(c.arguments, QStringList{"../wow.exe"});
        // WINE comes first: a path as it is, a bare name from PATH.
        env.insert(QStringLiteral("WINE"), game.path(QStringLiteral("own/wine-build")));
        QCOMPARE(launch_commands(QStringLiteral("../wow.exe"), env, false).first().program,
                 game.path(QStringLiteral("own/wine-build")));
        env.insert(QStringLiteral("PATH"), game.path(QStringLiteral("own")));
        env.insert(QStringLiteral("WINE"), QStringLiteral("wine-build"));
        QCOMPARE(launch_commands(QStringLiteral("../wow.exe"), env, false).first().program,
                 game.path(QStringLiteral("own/wine-build")));
        // Without any wine the game itself is tried.
        env.remove(QStringLiteral("WINE"));
        all = launch_commands(QStringLiteral("../wow.exe"), env, false);
        QCOMPARE(all.size(), 1);
        QCOMPARE(all.first().program, QStringLiteral("../wow.exe"));
        QVERIFY(all.first().arguments.isEmpty());
        // An executable game is tried as it is first, then through Wine.
        env.insert(QStringLiteral("PATH"), bin);
        QFile::setPermissions(game.path(QStringLiteral("wow.exe")), QFile::ReadOwner | QFile::ExeOwner);
        all = launch_commands(QStringLiteral("../wow.exe"), env, false);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.at(0).program, QStringLiteral("../wow.exe"));
        QVERIFY(all.at(0).arguments.isEmpty());
        QCOMPARE(all.at(1).program, bin + QStringLiteral("/wine"));
        QCOMPARE(all.at(1).arguments, QStringList{"../wow.exe"});
    }

    // On NTFS, exFAT and FAT every file shows execute bits; with no Wine
    // handler in the kernel the system refuses the .exe, and Wine starts it.
    void a_game_the_system_refuses_starts_through_wine()
    {
        GameFolder game;
        game.touch(QStringLiteral("wow.exe"), QByteArray("MZ\x90\0\3\0\0\0", 8));
        QFile::setPermissions(game.path(QStringLiteral("wow.exe")), QFile::ReadOwner | QFile::ExeOwner);
        game.touch(QStringLiteral("bin/wine"), "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/ran.txt\"\n");
        QFile::setPermissions(game.path(QStringLiteral("bin/wine")), QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment env;
        // The script's own tools come after it.
        env.insert(QStringLiteral("PATH"), game.path(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
        QVERIFY(start_game(launch_commands(QStringLiteral("../wow.exe"), env, false)));
        QTRY_COMPARE(game.read(QStringLiteral("bin/ran.txt")), QByteArray("../wow.exe\n"));
        // Nothing that could start it: nothing started, and said so.
        env.insert(QStringLiteral("PATH"), QStringLiteral("/nonexistent"));
        QVERIFY(!start_game(launch_commands(QStringLiteral("../wow.exe"), env, false)));
    }

    // What the game's process gets: the launcher's environment, with Wine
    // told to prefer DXVK's d3d9.dll while that is on. A null value: unset.
    void launch_environment_data()
    {
        QTest::addColumn<bool>("dxvk");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("expected");
        QTest::newRow("on, unset") << true << QString() << "d3d9=n,b";
        QTest::newRow("on, empty") << true << ""
                                   << "d3d9=n,b";
        QTest::newRow("on, others") << true << "mscoree,mshtml=;dxgi=b"
                                    << "mscoree,mshtml=;dxgi=b;d3d9=n,b";
        QTest::newRow("on, trailing ;") << true << "dxgi=b;"
                                        << "dxgi=b;d3d9=n,b";
        QTest::newRow("on, a longer name") << true << "d3d9x=n;d3dx9_43=n"
                                           << "d3d9x=n;d3dx9_43=n;d3d9=n,b";
        QTest::newRow("on, user's d3d9") << true << "dxgi=b;d3d9=b"
                                         << "dxgi=b;d3d9=b";
        QTest::newRow("on, user's in a list") << true << "dxgi, D3D9.dll ="
                                              << "dxgi, D3D9.dll =";
        QTest::newRow("on, user's starred") << true << "*d3d9=b"
                                            << "*d3d9=b";
        QTest::newRow("on, not an entry") << true << "d3d9"
                                          << "d3d9;d3d9=n,b";
        // Each value's meaning checked with Wine 8 itself (WINEDEBUG=+loaddll,
        // a native d3d9.dll beside the program): the user's order where the
        // value gives d3d9 one, else the native one.
        QTest::newRow("on, names parted by a space") << true << "dxgi d3d9=b"
                                                     << "dxgi d3d9=b";
        QTest::newRow("on, names parted by a tab") << true << "dxgi\td3d9=b"
                                                   << "dxgi\td3d9=b";
        QTest::newRow("on, spaces round the =") << true << "d3d9 = b"
                                                << "d3d9 = b";
        QTest::newRow("on, user's disabled") << true << "d3d9="
                                             << "d3d9=";
        QTest::newRow("on, user's mixed-case .dll") << true << "*D3D9.Dll=b"
                                                    << "*D3D9.Dll=b";
        QTest::newRow("on, after a newline") << true << "dxgi,\nd3d9=b"
                                             << "dxgi,\nd3d9=b;d3d9=n,b";
        QTest::newRow("on, after a no-break space") << true << "dxgi\u00a0d3d9=b"
                                                    << "dxgi\u00a0d3d9=b;d3d9=n,b";
        QTest::newRow("on, a leading no-break space") << true << "\u00a0d3d9=b"
                                                      << "\u00a0d3d9=b;d3d9=n,b";
        QTest::newRow("on, in another's order") << true << "dxgi=n d3d9=b"
                                                << "dxgi=n d3d9=b;d3d9=n,b";
        QTest::newRow("on, .dll twice") << true << "d3d9.dll.dll=b"
                                        << "d3d9.dll.dll=b;d3d9=n,b";
        QTest::newRow("off, unset") << false << QString() << QString();
        QTest::newRow("off, user's d3d9") << false << "mscoree=;d3d9=b"
                                          << "mscoree=;d3d9=b";
    }
    void launch_environment()
    {
        QFETCH(bool, dxvk);
        QFETCH(QString, user);
        QFETCH(QString, expected);
        GameFolder game;
        game.touch(QStringLiteral("wow.exe"), "MZ");
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), QStringLiteral("/nonexistent"));
        env.insert(QStringLiteral("WINEPREFIX"), QStringLiteral("/prefix"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
        if (!user.isNull())
            env.insert(QStringLiteral("WINEDLLOVERRIDES"), user);
        // Through Wine or run directly, the game gets the same environment.
        for (const QFile::Permissions mode :
             {QFile::Permissions(QFile::ReadOwner), QFile::ReadOwner | QFile::ExeOwner}) {
            QFile::setPermissions(game.path(QStringLiteral("wow.exe")), mode);
            const QProcessEnvironment got =
                launch_commands(QStringLiteral("../wow.exe"), env, dxvk).first().environment;
            QCOMPARE(got.contains(QStringLiteral("WINEDLLOVERRIDES")), !expected.isNull());
            QCOMPARE(got.value(QStringLiteral("WINEDLLOVERRIDES")), expected);
            QProcessEnvironment rest = got;
            rest.remove(QStringLiteral("WINEDLLOVERRIDES"));
            env.remove(QStringLiteral("WINEDLLOVERRIDES"));
            QCOMPARE(rest, env);
            if (!user.isNull())
                env.insert(QStringLiteral("WINEDLLOVERRIDES"), user);
        }
    }

    WINDOWS_ONLY_TESTS
    // The Windows launcher run by Wine (added to the game's prefix): the game
    // starts in the same prefix, told like the Linux launcher's to prefer
    // DXVK's d3d9.dll. Wine hands the child its own Unix environment's
    // WINEDLLOVERRIDES, never the parent's, so the order that reaches the game
    // is the game's key in the prefix. On Windows itself the game's
    // environment is the launcher's and the registry is not touched.
    void the_game_started_by_wine_renders_with_dxvk_data()
    {
        QTest::addColumn<bool>("dxvk");
        QTest::addColumn<QString>("user");       // WINEDLLOVERRIDES; a null value: unset
        QTest::addColumn<QString>("userKey");    // the game's d3d9 key in the prefix; null: none
        QTest::addColumn<QString>("underWine");  // WINEDLLOVERRIDES for the game
        QTest::addColumn<QString>("key");        // the key afterwards
        QTest::addColumn<QString>("loaded");     // the d3d9 the game loads under Wine
        QTest::newRow("on, unset") << true << QString() << QString() << "d3d9=n,b"
                                   << "native,builtin"
                                   << "beside";
        QTest::newRow("on, others") << true << "mscoree=;dxgi=b" << QString() << "mscoree=;dxgi=b;d3d9=n,b"
                                    << "native,builtin"
                                    << "beside";
        // The user's own order, in the environment or in the prefix, stays.
        QTest::newRow("on, user's d3d9 after a space")
            << true << "dxgi d3d9=b" << QString() << "dxgi d3d9=b" << QString() << "system";
        QTest::newRow("on, user's key") << true << QString() << "builtin"
                                        << "d3d9=n,b"
                                        << "builtin"
                                        << "system";
        QTest::newRow("off") << false << "mscoree=" << QString() << "mscoree=" << QString() << "system";
        QTest::newRow("off, unset") << false << QString() << QString() << QString() << QString() << "system";
    }
    void the_game_started_by_wine_renders_with_dxvk()
    {
        QFETCH(bool, dxvk);
        QFETCH(QString, user);
        QFETCH(QString, userKey);
        QFETCH(QString, underWine);
        QFETCH(QString, key);
        QFETCH(QString, loaded);
        const bool wine = running_under_wine();
        if (!wine && !userKey.isNull())
            QSKIP("the prefix's key exists under Wine only");
        // The test's own prefix: the game's key is made and removed here.
        const QString gameKey = QStringLiteral("Software\\Wine\\AppDefaults\\wow.exe");
        const QString overrides = gameKey + QStringLiteral("\\DllOverrides");
        const auto clean = [&] {
            if (wine)
                remove_user_key(gameKey);
        };
        clean();
        if (!userKey.isNull())
            QVERIFY(set_user_text(overrides, QStringLiteral("d3d9"), userKey));

        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        const QString built = QCoreApplication::applicationDirPath();
        QVERIFY(QFile::copy(built + QStringLiteral("/../standin/wow.exe"), game.path(QStringLiteral("wow.exe"))));
        QVERIFY(QFile::copy(built + QStringLiteral("/../standin-d3d9/d3d9.dll"),
                            game.path(dxvk ? QStringLiteral("d3d9.dll") : QStringLiteral("d3d9.dll.disabled"))));
        const QString marker = game.path(QStringLiteral("marker.txt"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("WINEDLLOVERRIDES"));
        if (!user.isNull())
            env.insert(QStringLiteral("WINEDLLOVERRIDES"), user);
        env.insert(QStringLiteral("TESSARINE_STANDIN_HOLD"), QStringLiteral("0"));
        env.insert(QStringLiteral("TESSARINE_STANDIN_MARKER"), QDir::toNativeSeparators(marker));
        const QList<LaunchCommand> commands = launch_commands(game.path(QStringLiteral("wow.exe")), env, dxvk);
        QCOMPARE(commands.size(), 1);
        const QString expected = wine ? underWine : user;
        QCOMPARE(commands.first().environment.contains(QStringLiteral("WINEDLLOVERRIDES")), !expected.isNull());
        QCOMPARE(commands.first().environment.value(QStringLiteral("WINEDLLOVERRIDES")), expected);
        QVERIFY(start_game(commands));
        QTRY_VERIFY_WITH_TIMEOUT(GameFolder::readFile(marker).contains("released"), 30000);
        const QByteArray seen = GameFolder::readFile(marker);
        const std::optional<QString> keyed = user_text(overrides, QStringLiteral("d3d9"));
        clean();
        QVERIFY(seen.contains("archive=held"));
        if (!wine) {
            QVERIFY(!keyed);
            // Windows looks beside the program first.
            QVERIFY(seen.contains(dxvk ? "d3d9=beside" : "d3d9=system"));
            return;
        }
        QCOMPARE(keyed.value_or(QString()), key);
        QVERIFY2(seen.contains("d3d9=" + loaded.toUtf8()), seen.constData());
    }

private slots:
    void dxvk_is_on_under_its_working_name_in_any_case()
    {
        GameFolder game;
        QVERIFY(!dxvk_on());
        game.touch(QStringLiteral("d3d9.dll.disabled"));
        QVERIFY(!dxvk_on());
        game.touch(QStringLiteral("D3D9.DLL"));
        QVERIFY(dxvk_on());
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
