#include "log/log.h"
#include "core/config/notice_texts.h"
#include "core/patches/patches.h"
#include "support/gamefolder.h"
#include "system/system.h"

using namespace tess;

class TestSwitcher : public QObject
{
    Q_OBJECT

private:
    static StatusPair of(const char *key) { return get_status().value(QString::fromLatin1(key)); }

private slots:
    void alphabet_has_31_letters_in_order()
    {
        QCOMPARE(ALPHABET.size(), 31);
        QCOMPARE(ALPHABET.join(QString()), QStringLiteral("56789abcdefghijklmnopqrstuvwxyz"));
    }

    void scan_without_files_is_all_zero_in_alphabet_order()
    {
        GameFolder game;
        const PatchStatusMap map = get_status();
        QCOMPARE(map.size(), 31);
        QCOMPARE(map.keys(), ALPHABET);
        for (const QString &key : ALPHABET)
            QCOMPARE(map.value(key), (StatusPair{0, 0}));
    }

    void scan_tells_data_from_locale_part()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-a.mpq"));
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq"));
        game.touch(QStringLiteral("Data/patch-c.mpq"));
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-c.mpq"));
        game.touch(QStringLiteral("Data/patch-d.mpq.disabled"));
        QCOMPARE(of("a"), (StatusPair{1, 0}));
        QCOMPARE(of("b"), (StatusPair{0, 1}));
        QCOMPARE(of("c"), (StatusPair{1, 1}));
        QCOMPARE(of("d"), (StatusPair{0, 0}));
    }

    void scan_ignores_digits_below_five_and_locale_base_archives()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-2.mpq"));
        game.touch(QStringLiteral("Data/patch-3.mpq"));
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-3.mpq"));
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU.mpq"));
        game.touch(QStringLiteral("Data/enGB/patch-enGB.mpq"));
        QCOMPARE(get_status(), PatchStatusMap());
    }

    void scan_ignores_letter_case_of_folders_and_names()
    {
        GameFolder game;
        game.touch(QStringLiteral("DATA/PATCH-A.MPQ"));
        game.touch(QStringLiteral("DATA/RURU/PATCH-RURU-5.MPQ"));
        QCOMPARE(of("a"), (StatusPair{1, 0}));
        QCOMPARE(of("5"), (StatusPair{0, 1}));
    }

    void scan_never_enters_hidden_folders()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/.backup/patch-a.mpq"));
        game.touch(QStringLiteral("Data/.patch-b.mpq"));
        QCOMPARE(get_status(), PatchStatusMap());
    }

    void scan_counts_longer_names_ending_in_the_letter()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-ba.mpq"));
        QCOMPARE(of("a"), (StatusPair{0, 1}));
        QCOMPARE(of("b"), (StatusPair{0, 0}));
    }

    void switch_sets_each_part_by_its_flag_and_lowers_the_name()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-a.mpq.disabled"), "common");
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-A.MPQ"), "locale");
        const SwitchResult r = set_patch_status(QStringLiteral("a"), {1, 0});
        QVERIFY(r.completed);
        QCOMPARE(game.names(QStringLiteral("Data")), (QStringList{"patch-a.mpq", "ruRU"}));
        QCOMPARE(game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-a.mpq.disabled"});
        QCOMPARE(game.read(QStringLiteral("Data/patch-a.mpq")), QByteArray("common"));
        QCOMPARE(game.read(QStringLiteral("Data/ruRU/patch-ruru-a.mpq.disabled")), QByteArray("locale"));
        QCOMPARE(of("a"), (StatusPair{1, 0}));
    }

    void switch_on_turns_parked_upper_case_into_lower_case()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-A.MPQ.disabled"));
        QVERIFY(set_patch_status(QStringLiteral("a"), {1, 1}).completed);
        QCOMPARE(game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-a.mpq"});
    }

    void switch_leaves_locale_base_archive_alone()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU.mpq"));
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU.mpq.disabled"));
        game.touch(QStringLiteral("Data/enGB/patch-enGB.mpq"));
        QVERIFY(set_patch_status(QStringLiteral("u"), {0, 0}).completed);
        QVERIFY(set_patch_status(QStringLiteral("b"), {0, 0}).completed);
        QCOMPARE(game.names(QStringLiteral("Data/ruRU")), (QStringList{"patch-ruRU.mpq", "patch-ruRU.mpq.disabled"}));
        QCOMPARE(game.names(QStringLiteral("Data/enGB")), QStringList{"patch-enGB.mpq"});
    }

    void switch_takes_longer_names_ending_in_the_letter()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-ba.mpq"));
        QVERIFY(set_patch_status(QStringLiteral("a"), {1, 0}).completed);
        QCOMPARE(game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-ba.mpq.disabled"});
    }

    void switch_of_an_unknown_key_changes_nothing()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-a.mpq"));
        QVERIFY(set_patch_status(QStringLiteral("q"), {0, 0}).completed);
        QCOMPARE(game.names(QStringLiteral("Data")), QStringList{"patch-a.mpq"});
    }

    void switch_with_both_names_present_loses_neither_file()
    {
        GameFolder game;
        log().open(game.path(QStringLiteral("launcher/events.log")));
        game.touch(QStringLiteral("Data/patch-a.mpq"), "working");
        game.touch(QStringLiteral("Data/patch-a.mpq.disabled"), "parked");
        const SwitchResult off = set_patch_status(QStringLiteral("a"), {0, 0});
        QVERIFY(off.completed);
        QCOMPARE(off.occupied, QStringList{"../Data/patch-a.mpq"});
        QCOMPARE(game.read(QStringLiteral("Data/patch-a.mpq")), QByteArray("working"));
        QCOMPARE(game.read(QStringLiteral("Data/patch-a.mpq.disabled")), QByteArray("parked"));
        const SwitchResult on = set_patch_status(QStringLiteral("a"), {1, 1});
        QCOMPARE(on.occupied, QStringList{"../Data/patch-a.mpq.disabled"});
        QCOMPARE(game.read(QStringLiteral("Data/patch-a.mpq")), QByteArray("working"));
        QCOMPARE(game.read(QStringLiteral("Data/patch-a.mpq.disabled")), QByteArray("parked"));
        log().close();
        const QByteArray logged = game.read(QStringLiteral("launcher/events.log"));
        const QByteArray taken = "| WARNING  | Файл не переименован, имя уже занято: "
            + QDir::toNativeSeparators(QStringLiteral("../Data/patch-a.mpq")).toUtf8();
        QVERIFY(logged.contains(taken + expected_line_end()));
        QVERIFY(logged.contains(taken + ".disabled" + expected_line_end()));
    }

    void switch_keeps_names_that_differ_only_in_case()
    {
        if (kWindows)
            QSKIP("names that differ only in case are one file on Windows");
        GameFolder game;
        game.touch(QStringLiteral("Data/PATCH-A.MPQ"), "upper");
        game.touch(QStringLiteral("Data/patch-a.mpq"), "lower");
        QVERIFY(set_patch_status(QStringLiteral("a"), {1, 1}).completed);
        QCOMPARE(game.read(QStringLiteral("Data/PATCH-A.MPQ")), QByteArray("upper"));
        QCOMPARE(game.read(QStringLiteral("Data/patch-a.mpq")), QByteArray("lower"));
        // Parking both: one of them takes the parked name, the other stays.
        QVERIFY(set_patch_status(QStringLiteral("a"), {0, 0}).completed);
        QStringList contents;
        for (const QString &name : game.names(QStringLiteral("Data")))
            contents << QString::fromUtf8(game.read(QStringLiteral("Data/") + name));
        contents.sort();
        QCOMPARE(contents, (QStringList{"lower", "upper"}));
        QVERIFY(game.exists(QStringLiteral("Data/patch-a.mpq.disabled")));
    }

    void switch_stops_at_the_first_denied_rename()
    {
        GameFolder game;
        game.touch(QStringLiteral("Data/patch-a.mpq"));
        game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq"));
        Immutable lock(game.path(QStringLiteral("Data")));
        REQUIRE_IMMUTABLE(lock);
        const SwitchResult r = set_patch_status(QStringLiteral("a"), {0, 0});
        QVERIFY(!r.completed);
        QCOMPARE(r.failedPath, QStringLiteral("../Data/patch-a.mpq"));
        QVERIFY(r.error != 0);
        QCOMPARE(failure_reason(r.error), FailureReason::AccessDenied);
        QCOMPARE(reason_text(NoticeTexts(), failure_reason(r.error), r.error),
                 QStringLiteral("access denied or write-protected"));
        // The locale part is visited after the data folder: never reached.
        QCOMPARE(game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruRU-a.mpq"});
    }

    // Names copied from a system with another code page are not UTF-8: each
    // keeps its own bytes from the listing to the rename.
    void names_that_are_not_utf8_are_counted_and_switched()
    {
        if (kWindows)
            QSKIP("names are UTF-16 on Windows");
        GameFolder game;
        QVERIFY(game.touchNative("Data/patch-q.mpq"));
        QVERIFY(game.touchNative("Data/PATCH-\xff-Q.MPQ"));
        QVERIFY(game.touchNative("Data/\xff\xfe/patch-\xff\xfe\xfd-r.mpq"));
        QCOMPARE(of("q"), (StatusPair{1, 0}));
        QCOMPARE(of("r"), (StatusPair{0, 1}));
        QVERIFY(set_patch_status(QStringLiteral("q"), {0, 0}).completed);
        QVERIFY(set_patch_status(QStringLiteral("r"), {0, 0}).completed);
        QVERIFY(game.existsNative("Data/patch-q.mpq.disabled"));
        QVERIFY(game.existsNative("Data/patch-\xff-q.mpq.disabled"));
        QVERIFY(game.existsNative("Data/\xff\xfe/patch-\xff\xfe\xfd-r.mpq.disabled"));
        QCOMPARE(get_status(), PatchStatusMap());
    }

    // Game data kept on another drive is reached through a linked data
    // folder; a second link to it must not make its files switch twice.
    void a_data_folder_under_two_names_is_visited_once()
    {
        if (kWindows)
            QSKIP("Data and DATA are one name on Windows");
        GameFolder game;
        game.touch(QStringLiteral("../drive/Data/patch-a.mpq"));
        REQUIRE_SYMLINK(game.path(QStringLiteral("../drive/Data")), game.path(QStringLiteral("Data")));
        REQUIRE_SYMLINK(game.path(QStringLiteral("Data")), game.path(QStringLiteral("DATA")));
        QCOMPARE(of("a"), (StatusPair{1, 0}));
        const SwitchResult r = set_patch_status(QStringLiteral("a"), {0, 0});
        QVERIFY(r.completed);
        QVERIFY(r.occupied.isEmpty());
        QCOMPARE(game.names(QStringLiteral("../drive/Data")), QStringList{"patch-a.mpq.disabled"});
    }

    void fonts_switch_off_and_on_keeping_the_stem()
    {
        GameFolder game;
        game.touch(QStringLiteral("fonts/Name.TTF"), "name");
        game.touch(QStringLiteral("fonts/other.ttf"), "other");
        game.touch(QStringLiteral("fonts/readme.txt"));
        QVERIFY(switch_fonts_status(1).completed);
        QCOMPARE(game.names(QStringLiteral("fonts")),
                 (QStringList{"Name.ttf.disabled", "other.ttf.disabled", "readme.txt"}));
        QVERIFY(switch_fonts_status(0).completed);
        QCOMPARE(game.names(QStringLiteral("fonts")), (QStringList{"Name.ttf", "other.ttf", "readme.txt"}));
        QCOMPARE(game.read(QStringLiteral("fonts/Name.ttf")), QByteArray("name"));
    }

    void fonts_with_more_dots_keep_their_whole_name()
    {
        GameFolder game;
        game.touch(QStringLiteral("fonts/a.b.ttf"), "ab");
        game.touch(QStringLiteral("fonts/a.ttf"), "a");
        QVERIFY(switch_fonts_status(1).completed);
        QCOMPARE(game.names(QStringLiteral("fonts")), (QStringList{"a.b.ttf.disabled", "a.ttf.disabled"}));
        QVERIFY(switch_fonts_status(0).completed);
        QCOMPARE(game.read(QStringLiteral("fonts/a.b.ttf")), QByteArray("ab"));
        QCOMPARE(game.read(QStringLiteral("fonts/a.ttf")), QByteArray("a"));
    }

    void dxvk_indices_set_library_and_settings()
    {
        GameFolder game;
        game.touch(QStringLiteral("d3d9.dll"));
        game.touch(QStringLiteral("dxvk.conf"));
        game.touch(QStringLiteral("wow.exe"));
        QVERIFY(switch_dxvk_status(1).completed);
        QCOMPARE(game.names(QString()), (QStringList{"d3d9.dll", "dxvk.conf.disabled", "launcher", "wow.exe"}));
        QVERIFY(switch_dxvk_status(0).completed);
        QCOMPARE(game.names(QString()), (QStringList{"d3d9.dll", "dxvk.conf", "launcher", "wow.exe"}));
        QVERIFY(switch_dxvk_status(2).completed);
        QCOMPARE(game.names(QString()),
                 (QStringList{"d3d9.dll.disabled", "dxvk.conf.disabled", "launcher", "wow.exe"}));
    }

    void dxvk_denied_library_leaves_settings_unvisited()
    {
        GameFolder game;
        game.touch(QStringLiteral("d3d9.dll"));
        game.touch(QStringLiteral("dxvk.conf"));
        Immutable lock(game.path(QStringLiteral("d3d9.dll")));
        REQUIRE_IMMUTABLE(lock);
        const SwitchResult r = switch_dxvk_status(2);
        QVERIFY(!r.completed);
        // The file itself is protected, not its folder.
        QCOMPARE(failure_reason(r.error), FailureReason::AccessDenied);
        QVERIFY(game.exists(QStringLiteral("dxvk.conf")));
    }

    // What the player reads about a rename the system refused: the reason
    // from the system's own code, in the language file's words, or the
    // system's message where no reason fits.
    void refused_renames_say_why()
    {
        GameFolder game;
        const NoticeTexts texts;
        RenameResult r =
            rename_no_replace(QStringLiteral("../Data/patch-a.mpq"), QStringLiteral("../Data/patch-a.mpq.disabled"));
        QCOMPARE(r.status, RenameStatus::Failed);
        QCOMPARE(failure_reason(r.error), FailureReason::Missing);
        QCOMPARE(reason_text(texts, failure_reason(r.error), r.error), QStringLiteral("not found"));

        game.touch(QStringLiteral("Data/patch-a.mpq"));
        game.touch(QStringLiteral("Data/patch-a.mpq.disabled/readme.txt"));
        r = rename_no_replace(QStringLiteral("../Data/patch-a.mpq"), QStringLiteral("../Data/patch-a.mpq.disabled"));
        QCOMPARE(r.status, RenameStatus::TargetExists);
        QCOMPARE(failure_reason(r.error), FailureReason::FolderInTheWay);
        QCOMPARE(reason_text(texts, failure_reason(r.error), r.error), QStringLiteral("a folder is in the way"));

        const QString message = system_message(r.error);
        QVERIFY(!message.isEmpty());
        QCOMPARE(reason_text(texts, FailureReason::Other, r.error), message);
        QVERIFY(system_message(r.error + 1) != message);

        // Where programs are installed, writing needs administrator rights.
        const QString programs = QDir::fromNativeSeparators(qEnvironmentVariable("ProgramFiles"));
        if (runs_windows_programs) {
            QVERIFY(!programs.isEmpty());
            QVERIFY(under_program_folders(programs + QStringLiteral("/Game/launcher/..")));
            QVERIFY(under_program_folders(programs.toUpper() + QStringLiteral("/game")));
            QVERIFY(!under_program_folders(programs + QStringLiteral(" Extra/Game")));
        }
        QCOMPARE(under_program_folders(QStringLiteral("C:/Program Files (x86)/Game")), runs_windows_programs);
        QVERIFY(!under_program_folders(game.root()));
    }

    void switched_name_replaces_the_owned_extension_only()
    {
        QCOMPARE(switched_name(QStringLiteral("patch-a.mpq.disabled"), QStringLiteral(".mpq"), true),
                 QStringLiteral("patch-a.mpq"));
        QCOMPARE(switched_name(QStringLiteral("a.b.TTF"), QStringLiteral(".ttf"), false),
                 QStringLiteral("a.b.ttf.disabled"));
        QCOMPARE(switched_name(QStringLiteral("d3d9.dll.bak"), QStringLiteral(".dll"), true),
                 QStringLiteral("d3d9.dll"));
    }
};

QTEST_GUILESS_MAIN(TestSwitcher)
#include "test_switcher.moc"
