#include "support/windowfixture.h"

#include <QMediaPlayer>
#include <QMediaPlaylist>
#include <QSlider>

namespace {

// Shows the window and waits for its music: the player is made once the
// window has been painted.
QMediaPlayer *player_of(MainWindow &w)
{
    w.show();
    QMediaPlayer *player = nullptr;
    const bool started = QTest::qWaitFor([&] { return (player = w.findChild<QMediaPlayer *>()) != nullptr; }, 10000);
    return started ? player : nullptr;
}

QByteArray nl() { return expected_line_end(); }

}  // namespace

class TestMusic : public QObject
{
    Q_OBJECT

private:
    static QByteArray lang() { return language_file("{}"); }

private slots:
    void initTestCase() { register_fonts(); }

    void first_start_creates_the_default_file_and_plays_at_ten()
    {
        WindowFixture f(lang());
        QVERIFY(f.build());
        const QByteArray expected = QByteArray("[SETTINGS]") + nl() + "volume = 10" + nl() + nl();
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")), expected);
        QCOMPARE(f.window->volume->value(), 10);
        QMediaPlayer *player = player_of(*f.window);
        QVERIFY(player);
        QCOMPARE(player->volume(), 10);
        f.window->volume->setValue(33);
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")), expected);
        f.window->close();
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")),
                 QByteArray("[SETTINGS]") + nl() + "volume = 33" + nl() + nl());
        QCOMPARE(f.count(QStringLiteral("OK | Конфигурация медиаплеера сохранена")), 1);
    }

    void a_stored_hundred_sends_no_change()
    {
        WindowFixture f(lang());
        // Kept under DEFAULT only: a change handler would add it to SETTINGS.
        f.game.touch(QStringLiteral("launcher/.config/mediaplayer.ini"), "[DEFAULT]\nvolume = 100\n\n[SETTINGS]\n");
        QVERIFY(f.build());
        QCOMPARE(f.window->volume->value(), 100);
        QMediaPlayer *player = player_of(*f.window);
        QVERIFY(player);
        QCOMPARE(player->volume(), 100);
        QVERIFY(!f.window->session().settings().sections().at(1).items.size());
    }

    void volume_beyond_the_range_is_clamped_on_the_slider_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("slider");
        QTest::addColumn<QString>("memory");
        QTest::newRow("150") << QByteArray("150") << 100 << "150";
        QTest::newRow("-5") << QByteArray("-5") << 0 << "0";
        QTest::newRow("+40") << QByteArray("+40") << 40 << "40";
    }
    void volume_beyond_the_range_is_clamped_on_the_slider()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, slider);
        QFETCH(QString, memory);
        WindowFixture f(lang());
        f.game.touch(QStringLiteral("launcher/.config/mediaplayer.ini"), "[SETTINGS]\nvolume = " + stored + "\n");
        QVERIFY(f.build());
        QCOMPARE(f.window->volume->value(), slider);
        QMediaPlayer *player = player_of(*f.window);
        QVERIFY(player);
        QCOMPARE(player->volume(), slider);
        QCOMPARE(f.window->session().settings().value(QStringLiteral("SETTINGS"), QStringLiteral("volume")).value(),
                 memory);
        f.window->close();
        QVERIFY(
            f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")).contains("volume = " + memory.toLatin1()));
    }

    // A volume that readers could take differently, or none, starts at 10;
    // at the close the file heals: one section, one volume line with the
    // player's volume, every other line kept, so the next start takes it.
    void malformed_settings_fall_back_to_ten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("healed");  // with volume 37
        QTest::newRow("no section") << QByteArray("[OTHER]\nvolume = 50\n")
                                    << QByteArray("[OTHER]\nvolume = 50\n\n[SETTINGS]\nvolume = 37\n\n");
        QTest::newRow("no key") << QByteArray("[SETTINGS]\nloud = 50\n")
                                << QByteArray("[SETTINGS]\nloud = 50\nvolume = 37\n");
        QTest::newRow("not a number") << QByteArray("[SETTINGS]\nvolume = loud\n")
                                      << QByteArray("[SETTINGS]\nvolume = 37\n");
        QTest::newRow("key before section")
            << QByteArray("volume = 50\n[SETTINGS]\nvolume = 60\n") << QByteArray("[SETTINGS]\nvolume = 37\n");
        QTest::newRow("section twice") << QByteArray("[SETTINGS]\nvolume = x\n[SETTINGS]\nvolume = 60\n")
                                       << QByteArray("[SETTINGS]\nvolume = 37\n");
        QTest::newRow("key twice") << QByteArray("[SETTINGS]\nvolume = 2x\nvolume = 60\n")
                                   << QByteArray("[SETTINGS]\nvolume = 37\n");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe[", 4)
                                << QByteArray("\x00\xff\xfe[", 4) + "\n\n[SETTINGS]\nvolume = 37\n\n";
        QTest::newRow("first of two keys valid")
            << QByteArray("[SETTINGS]\nvolume = 30\nvolume = 60\n") << QByteArray("[SETTINGS]\nvolume = 37\n");
        QTest::newRow("first of two sections valid") << QByteArray("[SETTINGS]\nvolume = 30\n[SETTINGS]\nvolume = 60\n")
                                                     << QByteArray("[SETTINGS]\nvolume = 37\n");
        QTest::newRow("two sections, others between")
            << QByteArray("; mine\n[SETTINGS]\nvolume = 30\n[A]\nx = 1\n[SETTINGS]\nother = y\nvolume = 40\n")
            << QByteArray("; mine\n[SETTINGS]\nvolume = 37\nother = y\n[A]\nx = 1\n");
        QTest::newRow("only DEFAULT") << QByteArray("[DEFAULT]\nvolume = 50\n")
                                      << QByteArray("[DEFAULT]\nvolume = 50\n\n[SETTINGS]\nvolume = 37\n\n");
        QTest::newRow("NUL in the value") << QByteArray("[SETTINGS]\nvolume = 3") + '\0' + "\n"
                                          << QByteArray("[SETTINGS]\nvolume = 37\n");
    }
    void malformed_settings_fall_back_to_ten()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, healed);
        WindowFixture f(lang());
        f.game.touch(QStringLiteral("launcher/.config/mediaplayer.ini"), content);
        QVERIFY(f.build());
        QCOMPARE(f.window->volume->value(), 10);
        QMediaPlayer *player = player_of(*f.window);
        QVERIFY(player);
        QCOMPARE(player->volume(), 10);
        f.window->volume->setValue(37);
        f.window->close();
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")), healed);
        f.window.reset();
        QVERIFY(f.build());
        QCOMPARE(f.window->volume->value(), 37);
        f.window->close();
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")), healed);
    }

    // Faults that leave the volume as every reader takes it cost nothing:
    // the stored volume applies, and the faulty lines stay.
    void faults_elsewhere_keep_the_volume()
    {
        const QByteArray content = QByteArray("[SETTINGS]\nvolume = 30\n") + '\0' + "\njunk\n[A]\nx = 1\nx = 2\n";
        WindowFixture f(lang());
        f.game.touch(QStringLiteral("launcher/.config/mediaplayer.ini"), content);
        QVERIFY(f.build());
        QCOMPARE(f.window->volume->value(), 30);
        f.window->close();
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")), content);
    }

    // The settings file is the program's own: written by replacing what
    // bears its name, a link included, and read through a link only to a
    // file inside the launcher's folder.
    void a_linked_settings_file_is_replaced_not_written_through_data()
    {
        QTest::addColumn<QString>("target");  // from the game folder
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("start");
        QTest::newRow("outside the launcher") << "outside.ini" << true << 10;
        QTest::newRow("dangling") << "nowhere.ini" << false << 10;
        QTest::newRow("inside the launcher") << "launcher/mine/settings.ini" << true << 70;
    }
    void a_linked_settings_file_is_replaced_not_written_through()
    {
        QFETCH(QString, target);
        QFETCH(bool, present);
        QFETCH(int, start);
        WindowFixture f(lang());
        const QByteArray stored = "[SETTINGS]\nvolume = 70\n";
        if (present)
            f.game.touch(target, stored);
        const QString link = f.game.path(QStringLiteral("launcher/.config/mediaplayer.ini"));
        REQUIRE_SYMLINK(f.game.path(target), link);
        QVERIFY(f.build());
        QCOMPARE(f.window->volume->value(), start);
        // Only a missing file is made at the start.
        QCOMPARE(QFileInfo(link).isSymLink(), present);
        f.window->volume->setValue(25);
        f.window->close();
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")).contains("volume = 25"));
        QCOMPARE(f.game.exists(target), present);
        if (present)
            QCOMPARE(f.game.read(target), stored);
        QCOMPARE(f.game.names(QStringLiteral("launcher/.config")), (QStringList{"config_en.json", "mediaplayer.ini"}));
    }

    // The file is written back byte for byte when the volume stays, and with
    // only its line changed when it moves.
    void other_lines_are_written_back_unchanged_data()
    {
        QTest::addColumn<int>("moved");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("volume kept") << 20 << QByteArray();
        QTest::newRow("volume moved") << 64 << QByteArray();
        // Saved as UTF-8 by an editor that marks it so: read past, kept.
        QTest::newRow("byte order mark, volume kept") << 20 << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("byte order mark, volume moved") << 64 << QByteArray("\xEF\xBB\xBF");
    }
    void other_lines_are_written_back_unchanged()
    {
        QFETCH(int, moved);
        QFETCH(QByteArray, start);
        const QByteArray head = start + "; mine\r\n[Player]\r\nName = caf\xe9\r\n\r\n[SETTINGS]\r\nVolume:",
                         tail = "\r\n";
        WindowFixture f(lang());
        f.game.touch(QStringLiteral("launcher/.config/mediaplayer.ini"), head + "20" + tail);
        QVERIFY(f.build());
        QCOMPARE(f.window->volume->value(), 20);
        f.window->volume->setValue(moved);
        f.window->close();
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")),
                 head + QByteArray::number(moved) + tail);
    }

    void a_failing_save_keeps_the_old_file_and_logs_nothing()
    {
        WindowFixture f(lang());
        f.game.touch(QStringLiteral("launcher/.config/mediaplayer.ini"), "[SETTINGS]\nvolume = 20\n");
        QVERIFY(f.build());
        f.window->volume->setValue(70);
        Immutable lock(f.game.path(QStringLiteral("launcher/.config/mediaplayer.ini")));
        REQUIRE_IMMUTABLE(lock);
        f.window->close();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.game.read(QStringLiteral("launcher/.config/mediaplayer.ini")),
                 QByteArray("[SETTINGS]\nvolume = 20\n"));
        QCOMPARE(f.count(QStringLiteral("OK | Конфигурация медиаплеера сохранена")), 0);
        QCOMPARE(f.game.names(QStringLiteral("launcher/.config")), (QStringList{"config_en.json", "mediaplayer.ini"}));
    }

    void a_removed_settings_folder_still_closes_quietly()
    {
        WindowFixture f(lang());
        QVERIFY(f.build());
        f.window->show();
        QVERIFY(QDir(f.game.path(QStringLiteral("launcher/.config"))).removeRecursively());
        f.window->close();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.count(QStringLiteral("OK | Конфигурация медиаплеера сохранена")), 0);
    }

    void ten_files_play_in_a_loop()
    {
        WindowFixture f(lang());
        f.game.mkdir(QStringLiteral("launcher/.config/audio"));
        for (int i = 0; i < 10; ++i) {
            const QString path = f.game.path(QStringLiteral("launcher/.config/audio/t%1.MP3").arg(i));
            QCOMPARE(QProcess::execute(QStringLiteral("sox"),
                                       {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("22050"),
                                        QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-t"),
                                        QStringLiteral("mp3"), path, QStringLiteral("synth"), QStringLiteral("2"),
                                        QStringLiteral("sine"), QString::number(300 + 40 * i), QStringLiteral("vol"),
                                        QStringLiteral("0.1")}),
                     0);
        }
        f.game.touch(QStringLiteral("launcher/.config/audio/.hidden.mp3"));
        f.game.touch(QStringLiteral("launcher/.config/audio/notes.txt"));
        f.game.touch(QStringLiteral("launcher/.config/audio/sub/deeper.mp3"));
        QVERIFY(f.build());
        QMediaPlayer *player = player_of(*f.window);
        QVERIFY(player);
        QMediaPlaylist *playlist = player->playlist();
        QVERIFY(playlist);
        QCOMPARE(playlist->mediaCount(), 10);
        QCOMPARE(playlist->playbackMode(), QMediaPlaylist::Loop);
        QCOMPARE(playlist->parent(), f.window.get());
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), QMediaPlayer::PlayingState, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(player->position() > 0, 10000);
    }

    void no_music_folder_plays_nothing()
    {
        WindowFixture f(lang());
        QVERIFY(f.build());
        QMediaPlayer *player = player_of(*f.window);
        QVERIFY(player);
        QCOMPARE(player->playlist()->mediaCount(), 0);
        f.window->volume->setValue(55);
        QCOMPARE(player->volume(), 55);
    }
};

QTEST_MAIN(TestMusic)
#include "test_music.moc"
