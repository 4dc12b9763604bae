// What the rows decide, without a widget: the choice a scan matches, failing
// conditions, the all-patches mode and the cascade of one change.
#include "log/log.h"
#include "core/patches/option_rows.h"
#include "support/gamefolder.h"
#include "support/languagefile.h"

#include <memory>

using namespace tess;

namespace {

// The rows of a language file in a game folder of their own, logging into
// launcher/events.log there; started as the window starts them.
struct Rows {
    explicit Rows(const QByteArray &languageFile) : file(read_language_file(languageFile))
    {
        QVERIFY2(file.error.isEmpty(), qPrintable(file.error));
        log().open(game.path(QStringLiteral("launcher/events.log")));
    }
    ~Rows() { log().close(); }

    OptionRows &start()
    {
        status = get_status();
        rows = std::make_unique<OptionRows>(status, rows_model(file.doc));
        rows->start();
        return *rows;
    }
    PatchRowState &row(const QString &key) const
    {
        for (PatchRowState *r : rows->listed())
            if (r->row.key == key)
                return *r;
        qFatal("no row %s", qPrintable(key));
    }
    QString shownText(const QString &key) const
    {
        const PatchRowState &r = row(key);
        return r.state.shown < 0 ? QStringLiteral("???") : r.row.choices[size_t(r.state.shown)].text;
    }
    int count(const QString &message) const { return game.logMessages().count(message); }

    GameFolder game;
    LanguageFile file;
    PatchStatusMap status;
    std::unique_ptr<OptionRows> rows;
};

}  // namespace

class TestRowRules : public QObject
{
    Q_OBJECT

private slots:
    void the_model_follows_the_document()
    {
        const LanguageFile f = read_language_file(language_file(
            "{\"z\": "
                + patch_entry("Z (12)", R"({"On": [1, 1], "Data": [1, 0], "Off": [0, 0]})", R"([["a11|a10", "A"]])")
                + ", \"y\": " + patch_entry("") + ", \"x\": " + patch_entry("X") + "}",
            R"(["a10", ["b", 1, "0"]])"));
        QVERIFY2(f.error.isEmpty(), qPrintable(f.error));
        const RowsModel m = rows_model(f.doc);
        QCOMPARE(int(m.patches.size()), 2);
        QCOMPARE(m.patches[0].key, QStringLiteral("z"));
        QCOMPARE(m.patches[0].title.name, QStringLiteral("Z "));
        QCOMPARE(m.patches[0].title.fontSize, QStringLiteral("12pt"));
        QCOMPARE(m.patches[0].texts(), (QStringList{"On", "Data", "Off"}));
        QCOMPARE(m.patches[0].choices[1].status, (StatusPair{1, 0}));
        QCOMPARE(m.patches[0].conditions.at(0).alternatives, (QStringList{"a11", "a10"}));
        QCOMPARE(m.patches[1].key, QStringLiteral("x"));
        QVERIFY(m.patches[1].conditions.empty());
        QCOMPARE(m.fonts.title.fontSize, QStringLiteral("11pt"));
        QCOMPARE(m.allpatches.choices, (QStringList{"All on", "Defaults", "All off"}));
        QCOMPARE(int(m.defaults.size()), 2);
        QCOMPARE(m.defaults[1].letter, QStringLiteral("b"));
    }

    void pure_rules_decide_choices_modes_and_switches()
    {
        PatchRow one{QStringLiteral("a"), {}, {{QStringLiteral("Only"), {1, 1}}}, {}};
        PatchRow two{QStringLiteral("b"), {}, {{QStringLiteral("On"), {1, 1}}, {QStringLiteral("Off"), {0, 0}}}, {}};
        QCOMPARE(matching_choice(two, {0, 0}), 1);
        QCOMPARE(matching_choice(two, {1, 0}), -1);
        PatchStatusMap status;
        status.set(QStringLiteral("b"), {1, 0});
        // A row whose only choice is also its last counts as both: all on wins.
        QCOMPARE(allpatches_mode({&one}, {0}, {}, status), kAllOn);
        QCOMPARE(allpatches_mode({}, {}, {{QStringLiteral("a"), 1, 1}}, status), kAllOn);
        QCOMPARE(allpatches_mode({&one, &two}, {-1, 1}, {}, status), kDefaults);
        QCOMPARE(allpatches_mode({&one, &two}, {-1, 1}, {{QStringLiteral("b"), 1, 0}}, status), kDefaults);
        QCOMPARE(allpatches_mode({&one, &two}, {-1, 1}, {{QStringLiteral("b"), 1, 1}}, status), kCustom);
        QCOMPARE(fonts_choice(true), 0);
        QCOMPARE(dxvk_choice(false, true), 2);
        QCOMPARE(dxvk_choice(true, false), 1);
        const BulkSwitch defaults = allpatches_switch(1, {&one, &two}, {{QStringLiteral("c"), 0, 1}});
        QCOMPARE(int(defaults.patches.size()), 1);
        QCOMPARE(defaults.patches[0].second, (StatusPair{0, 1}));
        QCOMPARE(defaults.fonts, 1);
        QCOMPARE(defaults.dxvk, 2);
        const BulkSwitch on = allpatches_switch(0, {&one, &two}, {{QStringLiteral("c"), 0, 1}});
        QCOMPARE(int(on.patches.size()), 2);
        QCOMPARE(on.fonts, 0);
        QCOMPARE(on.dxvk, 0);
    }

    void two_failed_conditions_give_two_hint_lines_and_one_switch_off()
    {
        Rows r(language_file(
            "{\"c\": "
            + patch_entry("C", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"], [], ["b11", "Needs B"]])")
            + "}"));
        r.game.touch(QStringLiteral("Data/patch-c.mpq"));
        r.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-c.mpq"));
        r.start();
        const RowState &c = r.row(QStringLiteral("c")).state;
        QCOMPARE(c.toolTip, QStringLiteral("Needs A\nNeeds B"));
        QCOMPARE(r.count(QStringLiteral("WARNING | Условия для 'C' не выполнены => патч будет отключен")), 1);
        QVERIFY(!c.enabled);
        QCOMPARE(r.shownText(QStringLiteral("c")), QStringLiteral("Off"));
        QCOMPARE(r.status.value(QStringLiteral("c")), (StatusPair{0, 0}));
    }

    void an_earlier_row_depending_on_a_later_one_waits_for_the_next_change()
    {
        // b needs c; c needs a. Switching a off turns c off in the same pass,
        // after b was already checked.
        Rows r(language_file(
            "{\"a\": " + patch_entry("A")
            + ", \"b\": " + patch_entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["c11", "Needs C"]])")
            + ", \"c\": " + patch_entry("C", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])") + "}"));
        for (const char *name : {"a", "b", "c"}) {
            r.game.touch(QStringLiteral("Data/patch-%1.mpq").arg(QLatin1String(name)));
            r.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-%1.mpq").arg(QLatin1String(name)));
        }
        OptionRows &rows = r.start();
        QVERIFY(rows.change_patch(r.row(QStringLiteral("a")), 1).complete);
        QVERIFY(!r.row(QStringLiteral("c")).state.enabled);
        QVERIFY(r.row(QStringLiteral("b")).state.enabled);
        QCOMPARE(r.shownText(QStringLiteral("b")), QStringLiteral("On"));
        QVERIFY(r.game.exists(QStringLiteral("Data/patch-b.mpq")));
        // The next change of a patch checks b again and switches it off.
        QVERIFY(rows.change_patch(r.row(QStringLiteral("a")), 0).acted);
        QVERIFY(r.row(QStringLiteral("c")).state.enabled);
        QVERIFY(!r.row(QStringLiteral("b")).state.enabled);
        QCOMPARE(r.shownText(QStringLiteral("b")), QStringLiteral("Off"));
        QVERIFY(r.game.exists(QStringLiteral("Data/patch-b.mpq.disabled")));
    }

    void no_selection_on_a_fixed_row_renames_nothing()
    {
        Rows r(language_file("{\"a\": " + patch_entry("A") + "}", R"(["a00"])"));
        for (const char *name : {"Data/patch-a.mpq", "fonts/x.ttf", "d3d9.dll", "dxvk.conf"})
            r.game.touch(QLatin1String(name));
        OptionRows &rows = r.start();
        const int before = r.game.logMessages().size();
        QVERIFY(!rows.change_allpatches(-1).acted);
        QVERIFY(!rows.change_fonts(-1).acted);
        QVERIFY(!rows.change_dxvk(-1).acted);
        QVERIFY(r.game.exists(QStringLiteral("Data/patch-a.mpq")));
        QVERIFY(r.game.exists(QStringLiteral("fonts/x.ttf")));
        QVERIFY(r.game.exists(QStringLiteral("d3d9.dll")) && r.game.exists(QStringLiteral("dxvk.conf")));
        QCOMPARE(r.game.logMessages().size() - before, 3);
    }

    void a_denied_switch_leaves_the_row_on_what_the_disk_holds()
    {
        Rows r(language_file("{\"a\": " + patch_entry("A") + ", \"b\": "
                             + patch_entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a00", "Needs A off"]])")
                             + "}"));
        r.game.touch(QStringLiteral("Data/patch-a.mpq"));
        r.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq"));
        r.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq"));
        r.game.touch(QStringLiteral("Data/patch-b.mpq"));
        Immutable lock(r.game.path(QStringLiteral("Data")));
        REQUIRE_IMMUTABLE(lock);
        OptionRows &rows = r.start();
        // b's conditions fail, but its common part, visited first, cannot be
        // parked: nothing of b changes and its row shows it on, disabled.
        QCOMPARE(r.status.value(QStringLiteral("b")), (StatusPair{1, 1}));
        QCOMPARE(r.shownText(QStringLiteral("b")), QStringLiteral("On"));
        QVERIFY(!r.row(QStringLiteral("b")).state.enabled);
        const ChangeResult change = rows.change_patch(r.row(QStringLiteral("a")), 1);
        QVERIFY(change.acted);
        QVERIFY(!change.complete);
        QCOMPARE(r.status.value(QStringLiteral("a")), (StatusPair{1, 1}));
        QCOMPARE(r.shownText(QStringLiteral("a")), QStringLiteral("On"));
    }

    void fonts_row_shows_off_without_working_fonts()
    {
        {
            Rows r(language_file("{}"));
            QCOMPARE(r.start().fonts.shown, 1);
        }
        {
            Rows r(language_file("{}"));
            r.game.touch(QStringLiteral("fonts/a.ttf.disabled"));
            r.game.touch(QStringLiteral("fonts/sub/b.ttf"));
            OptionRows &rows = r.start();
            QCOMPARE(rows.fonts.shown, 1);
            QVERIFY(rows.change_fonts(0).complete);
            QVERIFY(r.game.exists(QStringLiteral("fonts/a.ttf")));
            QCOMPARE(rows.fonts.shown, 0);
        }
    }

    void dxvk_row_follows_its_two_files()
    {
        Rows r(language_file("{}"));
        r.game.touch(QStringLiteral("dxvk.conf"));
        OptionRows &rows = r.start();
        QCOMPARE(rows.dxvk.shown, 2);
        r.game.touch(QStringLiteral("d3d9.dll.disabled"));
        QVERIFY(rows.change_dxvk(1).complete);
        QVERIFY(r.game.exists(QStringLiteral("d3d9.dll")));
        QVERIFY(r.game.exists(QStringLiteral("dxvk.conf.disabled")));
        QCOMPARE(rows.dxvk.shown, 1);
    }

    void without_patch_rows_the_bulk_row_is_all_on()
    {
        Rows r(language_file("{}", R"(["a11"])"));
        OptionRows &rows = r.start();
        QCOMPARE(rows.allpatches.shown, kAllOn);
        QVERIFY(!rows.allpatchesSign);
    }

    void all_off_parks_every_row_and_leaves_other_patches()
    {
        Rows r(language_file("{\"a\": " + patch_entry("A") + ", \"b\": " + patch_entry("B") + "}"));
        for (const char *name : {"Data/patch-a.mpq", "Data/ruRU/patch-ruRU-b.mpq", "Data/patch-c.mpq", "fonts/x.ttf",
                                 "d3d9.dll", "dxvk.conf"})
            r.game.touch(QLatin1String(name));
        OptionRows &rows = r.start();
        QVERIFY(rows.change_allpatches(2).complete);
        QCOMPARE(r.game.names(QStringLiteral("Data")), (QStringList{"patch-a.mpq.disabled", "patch-c.mpq", "ruRU"}));
        QCOMPARE(r.game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-b.mpq.disabled"});
        QCOMPARE(r.game.names(QStringLiteral("fonts")), QStringList{"x.ttf.disabled"});
        QVERIFY(r.game.exists(QStringLiteral("d3d9.dll.disabled")));
        QVERIFY(r.game.exists(QStringLiteral("dxvk.conf.disabled")));
        QCOMPARE(r.shownText(QStringLiteral("a")), QStringLiteral("Off"));
        QCOMPARE(rows.fonts.shown, 1);
        QCOMPARE(rows.dxvk.shown, 2);

        QVERIFY(rows.change_allpatches(0).complete);
        QVERIFY(r.game.exists(QStringLiteral("Data/patch-a.mpq")));
        QVERIFY(r.game.exists(QStringLiteral("d3d9.dll")) && r.game.exists(QStringLiteral("dxvk.conf")));
        // b has only its locale part: on disk it is [0, 1], which no choice is.
        QCOMPARE(r.shownText(QStringLiteral("b")), QStringLiteral("???"));
        QCOMPARE(rows.allpatches.shown, kAllOn);
    }

    void defaults_stay_chosen_when_a_condition_switches_a_patch_off()
    {
        Rows r(language_file("{\"a\": " + patch_entry("A") + ", \"b\": "
                                 + patch_entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])")
                                 + "}",
                             R"(["a00", "b11"])"));
        OptionRows &rows = r.start();
        QVERIFY(rows.change_allpatches(kDefaults).complete);
        QCOMPARE(r.status.value(QStringLiteral("b")), (StatusPair{0, 0}));
        QCOMPARE(rows.allpatches.shown, kDefaults);
        QVERIFY(!rows.allpatchesSign);
    }

    void a_change_writes_its_lines_in_the_windows_order()
    {
        Rows r(language_file("{\"a\": " + patch_entry("A") + ", \"b\": "
                             + patch_entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])") + "}"));
        for (const char *name :
             {"Data/patch-a.mpq", "Data/ruRU/patch-ruRU-a.mpq", "Data/patch-b.mpq", "Data/ruRU/patch-ruRU-b.mpq"})
            r.game.touch(QLatin1String(name));
        OptionRows &rows = r.start();
        const int before = r.game.logMessages().size();
        QVERIFY(rows.change_patch(r.row(QStringLiteral("a")), 1).complete);
        QCOMPARE(r.game.logMessages().mid(before),
                 (QStringList{"DEBUG | Изменено состояние для: 'A'",
                              "WARNING | Условия для 'B' не выполнены => патч будет отключен",
                              "DEBUG | Статус для фрейма 'Все патчи' обновлен: All off"}));
        QVERIFY(r.game.exists(QStringLiteral("Data/patch-b.mpq.disabled")));
    }
};

QTEST_GUILESS_MAIN(TestRowRules)
#include "test_row_rules.moc"
