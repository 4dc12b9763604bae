#include "support/windowfixture.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QScrollArea>
#include <QSignalSpy>

namespace {

QByteArray entry(const char *name, const char *actions = R"({"On": [1, 1], "Off": [0, 0]})",
                 const char *conditions = "[[]]")
{
    return QByteArray("{\"name\": \"") + name + "\", \"actions\": " + actions + ", \"conditions\": " + conditions + "}";
}

QGridLayout *grid(MainWindow &w) { return w.gridLayout_3; }

QPair<int, int> cell_of(MainWindow &w, QWidget *frame)
{
    int row = -1, column = -1, rs = 0, cs = 0;
    const int index = grid(w)->indexOf(frame);
    if (index >= 0)
        grid(w)->getItemPosition(index, &row, &column, &rs, &cs);
    return {row, column};
}

DynamicItem *row(MainWindow &w, const QString &key)
{
    for (StaticItem *item : w.patchFrames)
        if (auto *d = dynamic_cast<DynamicItem *>(item); d && d->key == key)
            return d;
    return nullptr;
}

}  // namespace

class TestRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { register_fonts(); }

    void titles_drop_groups_and_take_their_size()
    {
        WindowFixture f(language_file("{\"a\": " + entry("Patch A (note) (12)") + ", \"b\": " + entry("Plain") + "}"));
        QVERIFY(f.build());
        DynamicItem *a = row(*f.window, QStringLiteral("a"));
        QCOMPARE(a->label->text(), QStringLiteral("Patch A  "));
        QCOMPARE(a->name, QStringLiteral("Patch A  "));
        QCOMPARE(a->label->styleSheet(), QStringLiteral("font: normal 12pt FrizQuadrataCTT;"));
        QCOMPARE(row(*f.window, QStringLiteral("b"))->fontsize, QStringLiteral("10pt"));
        QCOMPARE(f.window->fonts_combo->label->text(), QStringLiteral("Interface fonts "));
        QCOMPARE(f.window->fonts_combo->fontsize, QStringLiteral("11pt"));
        QVERIFY(a->comboBox->isEditable());
        QVERIFY(a->comboBox->lineEdit()->isReadOnly());
        QCOMPARE(a->comboBox->itemData(0, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(a->frame->maximumWidth(), 160);
    }

    void rows_choose_their_font_by_their_own_rule_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<int>("faceWeight");
        QTest::newRow("ru_ru") << "ru_ru"
                               << "FrizQuadrataCTT"
                               << "normal" << int(QFont::Normal);
        QTest::newRow("en_us") << "en_us"
                               << "FrizQuadrataCTT"
                               << "normal" << int(QFont::Normal);
        QTest::newRow("de_de") << "de_de"
                               << "Friz Quadrata Std"
                               << "bold" << int(QFont::Bold);
        QTest::newRow("EN") << "EN"
                            << "Friz Quadrata Std"
                            << "bold" << int(QFont::Bold);
    }
    void rows_choose_their_font_by_their_own_rule()
    {
        QFETCH(QString, locale);
        QFETCH(QString, family);
        QFETCH(QString, weight);
        QFETCH(int, faceWeight);
        register_fonts();
        WindowFixture f(language_file("{\"a\": " + entry("A") + "}"), {locale});
        QVERIFY(f.build());
        for (StaticItem *item :
             {static_cast<StaticItem *>(row(*f.window, QStringLiteral("a"))), f.window->fonts_combo}) {
            // The weight asked for is that of a face of the family: one
            // between faces is drawn in another face, or faked bold, on
            // Windows than on Linux.
            for (QWidget *text : {static_cast<QWidget *>(item->label), static_cast<QWidget *>(item->comboBox)}) {
                text->ensurePolished();
                QCOMPARE(text->font().weight(), faceWeight);
                QCOMPARE(QFontDatabase().weight(family, QFontInfo(text->font()).styleName()), faceWeight);
            }
            QCOMPARE(item->fontfile, family);
            QCOMPARE(item->fontweight, weight);
            QVERIFY(item->frame->styleSheet().endsWith(
                QStringLiteral("QComboBox{font: %1 10pt %2;}").arg(weight).arg(family)));
        }
    }

    void rows_take_their_cells_in_document_order()
    {
        QByteArray dynamic = "{\"z\": " + entry("Z") + ", \"y\": " + entry("") + ", \"x\": " + entry("X") + "}";
        WindowFixture f(language_file(dynamic));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        QCOMPARE(cell_of(w, row(w, QStringLiteral("z"))->frame), qMakePair(2, 0));
        QCOMPARE(cell_of(w, row(w, QStringLiteral("x"))->frame), qMakePair(2, 1));
        QVERIFY(!row(w, QStringLiteral("y")));
        QCOMPARE(cell_of(w, w.all_patches_combo->frame), qMakePair(0, 0));
        QCOMPARE(cell_of(w, w.all_patches_combo->sign), qMakePair(0, 1));
        QCOMPARE(cell_of(w, w.fonts_combo->frame), qMakePair(1, 0));
        QCOMPARE(cell_of(w, w.dxvk_combo->frame), qMakePair(1, 1));
        QCOMPARE(w.patchFrames.size(), 4);
        QCOMPARE(w.patchFrames.at(0), row(w, QStringLiteral("z")));
        QCOMPARE(w.patchFrames.at(1), row(w, QStringLiteral("x")));
        QCOMPARE(w.patchFrames.at(2), w.fonts_combo);
        QCOMPARE(w.patchFrames.at(3), w.dxvk_combo);
        QVERIFY(!w.patchFrames.contains(w.all_patches_combo));
        QCOMPARE(StaticItem::static_num, 3);
    }

    void the_26th_row_sits_at_row_14_column_1()
    {
        WindowFixture f(language_file(plain_patches(26)));
        QVERIFY(f.build());
        QCOMPARE(cell_of(*f.window, row(*f.window, QStringLiteral("u"))->frame), qMakePair(14, 1));
        QCOMPARE(cell_of(*f.window, row(*f.window, QStringLiteral("t"))->frame), qMakePair(14, 0));
    }

    void a_patch_row_leaves_the_counter_alone()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + "}"));
        QVERIFY(f.build());
        const int before = StaticItem::static_num;
        DynamicItem extra(f.window.get(), tess::Json::parse(entry("Extra").toStdString()), QStringLiteral("b"));
        QCOMPARE(StaticItem::static_num, before);
    }

    void files_matching_no_choice_show_question_marks_then_follow_a_pick()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + "}"));
        f.game.touch(QStringLiteral("Data/patch-a.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq.disabled"));
        QVERIFY(f.build());
        DynamicItem *a = row(*f.window, QStringLiteral("a"));
        QCOMPARE(a->comboBox->currentIndex(), -1);
        QCOMPARE(a->comboBox->currentText(), QStringLiteral("???"));
        QCOMPARE(
            f.count(QStringLiteral("WARNING | Состояние для 'A' не соответствует режимам в конфигурационном файле")),
            1);
        // An empty default set always holds.
        QCOMPARE(f.window->all_patches_combo->comboBox->currentText(), QStringLiteral("Defaults"));

        a->comboBox->setCurrentIndex(0);
        QCOMPARE(f.game.names(QStringLiteral("Data")), (QStringList{"patch-a.mpq", "ruRU"}));
        QCOMPARE(f.game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-a.mpq"});
        QCOMPARE(a->comboBox->currentIndex(), 0);
        a->comboBox->setCurrentIndex(1);
        QCOMPARE(f.game.names(QStringLiteral("Data")), (QStringList{"patch-a.mpq.disabled", "ruRU"}));
        QCOMPARE(f.game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-a.mpq.disabled"});
        QCOMPARE(a->comboBox->currentText(), QStringLiteral("Off"));
    }

    void a_failing_condition_switches_off_and_a_return_enables_again()
    {
        WindowFixture f(
            language_file("{\"a\": " + entry("A", R"({"On": [1, 1], "Data": [1, 0], "Off": [0, 0]})") + ", \"b\": "
                          + entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11|a10", "Needs A"]])") + "}"));
        f.game.touch(QStringLiteral("Data/patch-a.mpq"));
        f.game.touch(QStringLiteral("Data/patch-b.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq"));
        QVERIFY(f.build());
        DynamicItem *a = row(*f.window, QStringLiteral("a"));
        DynamicItem *b = row(*f.window, QStringLiteral("b"));
        QCOMPARE(a->comboBox->currentText(), QStringLiteral("Data"));
        QCOMPARE(b->comboBox->currentText(), QStringLiteral("On"));
        QVERIFY(b->frame->isEnabled());

        a->comboBox->setCurrentIndex(2);  // off
        QVERIFY(!b->frame->isEnabled());
        QCOMPARE(b->comboBox->currentIndex(), 1);
        QCOMPARE(b->comboBox->toolTip(), QStringLiteral("Needs A"));
        QCOMPARE(f.game.names(QStringLiteral("Data")),
                 (QStringList{"patch-a.mpq.disabled", "patch-b.mpq.disabled", "ruRU"}));
        QCOMPARE(f.game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-b.mpq.disabled"});

        a->comboBox->setCurrentIndex(0);  // on again
        QVERIFY(b->frame->isEnabled());
        QCOMPARE(b->comboBox->toolTip(), QString());
        QCOMPARE(b->comboBox->currentText(), QStringLiteral("Off"));
        QVERIFY(f.game.exists(QStringLiteral("Data/patch-b.mpq.disabled")));
    }

    void two_failed_conditions_give_two_hint_lines_and_one_switch_off()
    {
        WindowFixture f(language_file(
            "{\"c\": "
            + entry("C", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"], [], ["b11", "Needs B"]])") + "}"));
        f.game.touch(QStringLiteral("Data/patch-c.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-c.mpq"));
        QVERIFY(f.build());
        DynamicItem *c = row(*f.window, QStringLiteral("c"));
        QCOMPARE(c->comboBox->toolTip(), QStringLiteral("Needs A\nNeeds B"));
        QCOMPARE(f.count(QStringLiteral("WARNING | Условия для 'C' не выполнены => патч будет отключен")), 1);
        QVERIFY(!c->frame->isEnabled());
        QCOMPARE(c->comboBox->currentText(), QStringLiteral("Off"));
        QCOMPARE(f.window->currentStatus.value(QStringLiteral("c")), (tess::StatusPair{0, 0}));
    }

    void an_earlier_row_depending_on_a_later_one_waits_for_the_next_change()
    {
        // b needs c; c needs a. Switching a off turns c off in the same pass,
        // after b was already checked.
        WindowFixture f(language_file(
            "{\"a\": " + entry("A")
            + ", \"b\": " + entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["c11", "Needs C"]])")
            + ", \"c\": " + entry("C", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])") + "}"));
        for (const char *name : {"a", "b", "c"}) {
            f.game.touch(QStringLiteral("Data/patch-%1.mpq").arg(QLatin1String(name)));
            f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-%1.mpq").arg(QLatin1String(name)));
        }
        QVERIFY(f.build());
        DynamicItem *b = row(*f.window, QStringLiteral("b"));
        row(*f.window, QStringLiteral("a"))->comboBox->setCurrentIndex(1);
        QVERIFY(!row(*f.window, QStringLiteral("c"))->frame->isEnabled());
        QVERIFY(b->frame->isEnabled());
        QCOMPARE(b->comboBox->currentText(), QStringLiteral("On"));
        QVERIFY(f.game.exists(QStringLiteral("Data/patch-b.mpq")));
        // The next change of a patch checks b again and switches it off.
        row(*f.window, QStringLiteral("a"))->comboBox->setCurrentIndex(0);
        QVERIFY(row(*f.window, QStringLiteral("c"))->frame->isEnabled());
        QVERIFY(!b->frame->isEnabled());
        QCOMPARE(b->comboBox->currentText(), QStringLiteral("Off"));
        QVERIFY(f.game.exists(QStringLiteral("Data/patch-b.mpq.disabled")));
    }

    void no_selection_writes_only_the_change_line()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + "}"));
        QVERIFY(f.build());
        f.clearLog();
        row(*f.window, QStringLiteral("a"))->perform_action(-1);
        QCOMPARE(f.messages(), QStringList{"DEBUG | Изменено состояние для: 'A'"});
    }

    void no_selection_on_a_fixed_row_renames_nothing()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + "}", R"(["a00"])"));
        for (const char *name : {"Data/patch-a.mpq", "fonts/x.ttf", "d3d9.dll", "dxvk.conf"})
            f.game.touch(QLatin1String(name));
        QVERIFY(f.build());
        f.clearLog();
        f.window->all_patches_combo->perform_allpatches_action(-1);
        f.window->fonts_combo->perform_fonts_action(-1);
        f.window->dxvk_combo->perform_dxvk_action(-1);
        QVERIFY(f.game.exists(QStringLiteral("Data/patch-a.mpq")));
        QVERIFY(f.game.exists(QStringLiteral("fonts/x.ttf")));
        QVERIFY(f.game.exists(QStringLiteral("d3d9.dll")) && f.game.exists(QStringLiteral("dxvk.conf")));
        QCOMPARE(f.messages().size(), 3);
    }

    void a_denied_switch_leaves_the_row_on_what_the_disk_holds()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + ", \"b\": "
                                      + entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a00", "Needs A off"]])")
                                      + "}"));
        f.game.touch(QStringLiteral("Data/patch-a.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq"));
        f.game.touch(QStringLiteral("Data/patch-b.mpq"));
        Immutable lock(f.game.path(QStringLiteral("Data")));
        REQUIRE_IMMUTABLE(lock);
        QVERIFY(f.build());
        // b's conditions fail, but its common part, visited first, cannot be
        // parked: nothing of b changes and its row shows it on, disabled.
        DynamicItem *b = row(*f.window, QStringLiteral("b"));
        QCOMPARE(f.window->currentStatus.value(QStringLiteral("b")), (tess::StatusPair{1, 1}));
        QCOMPARE(b->comboBox->currentText(), QStringLiteral("On"));
        QVERIFY(!b->frame->isEnabled());
        DynamicItem *a = row(*f.window, QStringLiteral("a"));
        a->comboBox->setCurrentIndex(1);
        QCOMPARE(f.window->currentStatus.value(QStringLiteral("a")), (tess::StatusPair{1, 1}));
        QCOMPARE(a->comboBox->currentText(), QStringLiteral("On"));
    }

    void fonts_row_shows_off_without_working_fonts()
    {
        {
            WindowFixture f(language_file("{}"));
            QVERIFY(f.build());
            QCOMPARE(f.window->fonts_combo->comboBox->currentIndex(), 1);
        }
        {
            WindowFixture f(language_file("{}"));
            f.game.touch(QStringLiteral("fonts/a.ttf.disabled"));
            f.game.touch(QStringLiteral("fonts/sub/b.ttf"));
            QVERIFY(f.build());
            QCOMPARE(f.window->fonts_combo->comboBox->currentIndex(), 1);
            f.window->fonts_combo->comboBox->setCurrentIndex(0);
            QVERIFY(f.game.exists(QStringLiteral("fonts/a.ttf")));
            QCOMPARE(f.window->fonts_combo->comboBox->currentIndex(), 0);
        }
    }

    void dxvk_row_follows_its_two_files()
    {
        WindowFixture f(language_file("{}"));
        f.game.touch(QStringLiteral("dxvk.conf"));
        QVERIFY(f.build());
        QCOMPARE(f.window->dxvk_combo->comboBox->currentIndex(), 2);
        f.game.touch(QStringLiteral("d3d9.dll.disabled"));
        f.window->dxvk_combo->comboBox->setCurrentIndex(1);
        QVERIFY(f.game.exists(QStringLiteral("d3d9.dll")));
        QVERIFY(f.game.exists(QStringLiteral("dxvk.conf.disabled")));
        QCOMPARE(f.window->dxvk_combo->comboBox->currentIndex(), 1);
    }

    void without_patch_rows_the_bulk_row_is_all_on()
    {
        WindowFixture f(language_file("{}", R"(["a11"])"));
        QVERIFY(f.build());
        QCOMPARE(f.window->all_patches_combo->comboBox->currentIndex(), 0);
        QVERIFY(f.window->all_patches_combo->sign->isHidden());
    }

    void all_off_parks_every_row_and_leaves_other_patches()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + ", \"b\": " + entry("B") + "}"));
        for (const char *name : {"Data/patch-a.mpq", "Data/ruRU/patch-ruRU-b.mpq", "Data/patch-c.mpq", "fonts/x.ttf",
                                 "d3d9.dll", "dxvk.conf"})
            f.game.touch(QLatin1String(name));
        QVERIFY(f.build());
        f.window->all_patches_combo->comboBox->setCurrentIndex(2);
        QCOMPARE(f.game.names(QStringLiteral("Data")), (QStringList{"patch-a.mpq.disabled", "patch-c.mpq", "ruRU"}));
        QCOMPARE(f.game.names(QStringLiteral("Data/ruRU")), QStringList{"patch-ruru-b.mpq.disabled"});
        QCOMPARE(f.game.names(QStringLiteral("fonts")), QStringList{"x.ttf.disabled"});
        QVERIFY(f.game.exists(QStringLiteral("d3d9.dll.disabled")));
        QVERIFY(f.game.exists(QStringLiteral("dxvk.conf.disabled")));
        QCOMPARE(row(*f.window, QStringLiteral("a"))->comboBox->currentText(), QStringLiteral("Off"));
        QCOMPARE(f.window->fonts_combo->comboBox->currentIndex(), 1);
        QCOMPARE(f.window->dxvk_combo->comboBox->currentIndex(), 2);

        f.window->all_patches_combo->comboBox->setCurrentIndex(0);
        QVERIFY(f.game.exists(QStringLiteral("Data/patch-a.mpq")));
        QVERIFY(f.game.exists(QStringLiteral("d3d9.dll")) && f.game.exists(QStringLiteral("dxvk.conf")));
        // b has only its locale part: on disk it is [0, 1], which no choice is.
        QCOMPARE(row(*f.window, QStringLiteral("b"))->comboBox->currentText(), QStringLiteral("???"));
        QCOMPARE(f.window->all_patches_combo->comboBox->currentIndex(), 0);
    }

    void defaults_stay_chosen_when_a_condition_switches_a_patch_off()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + ", \"b\": "
                                          + entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])")
                                          + "}",
                                      R"(["a00", "b11"])"));
        QVERIFY(f.build());
        f.window->all_patches_combo->comboBox->setCurrentIndex(1);
        QCOMPARE(f.window->currentStatus.value(QStringLiteral("b")), (tess::StatusPair{0, 0}));
        QCOMPARE(f.window->all_patches_combo->comboBox->currentIndex(), 1);
        QVERIFY(f.window->all_patches_combo->sign->isHidden());
    }

    void a_custom_mix_shows_question_marks_and_the_sign()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + ", \"b\": " + entry("B") + "}", R"(["a11", "b11"])"));
        f.game.touch(QStringLiteral("Data/patch-a.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq"));
        f.game.touch(QStringLiteral("Data/patch-b.mpq.disabled"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq.disabled"));
        QVERIFY(f.build());
        StaticItem *all = f.window->all_patches_combo;
        QCOMPARE(all->comboBox->currentIndex(), -1);
        QCOMPARE(all->comboBox->currentText(), QStringLiteral("???"));
        QVERIFY(!all->sign->isHidden());
        QCOMPARE(f.count(QStringLiteral("WARNING | Статус для фрейма 'Все патчи' имеет пользовательское значение")), 1);
        // Switching b on as well makes every row all on.
        row(*f.window, QStringLiteral("b"))->comboBox->setCurrentIndex(0);
        QCOMPARE(all->comboBox->currentIndex(), 0);
        QVERIFY(all->sign->isHidden());
    }

    void a_refresh_starts_no_further_handler()
    {
        WindowFixture f(language_file(
            "{\"a\": " + entry("A")
            + ", \"b\": " + entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])")
            + ", \"c\": " + entry("C", R"({"On": [1, 1], "Off": [0, 0]})", R"([["b11", "Needs B"]])") + "}"));
        for (const char *name : {"a", "b", "c"}) {
            f.game.touch(QStringLiteral("Data/patch-%1.mpq").arg(QLatin1String(name)));
            f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-%1.mpq").arg(QLatin1String(name)));
        }
        QVERIFY(f.build());
        f.clearLog();
        row(*f.window, QStringLiteral("a"))->comboBox->setCurrentIndex(1);
        QCOMPARE(f.messages().filter(QStringLiteral("Изменено состояние для")).size(), 1);
        QCOMPARE(row(*f.window, QStringLiteral("c"))->comboBox->currentText(), QStringLiteral("Off"));
        QCOMPARE(f.window->all_patches_combo->comboBox->currentIndex(), 2);
    }

    void unblocking_reaches_every_object_below_the_list()
    {
        WindowFixture f(language_file("{\"a\": " + entry("A") + "}"));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        const QList<QObject *> below = w.scrollArea->findChildren<QObject *>();
        QVERIFY(below.contains(w.gridLayout_3));
        QVERIFY(below.contains(w.scrollArea->verticalScrollBar()));
        w.fonts_combo->comboBox->blockSignals(true);
        w.block_all_signals(true);
        for (QObject *o : below)
            QVERIFY(o->signalsBlocked());
        QVERIFY(!w.scrollArea->signalsBlocked());
        QSignalSpy spy(row(w, QStringLiteral("a"))->comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged));
        row(w, QStringLiteral("a"))->comboBox->setCurrentIndex(0);
        row(w, QStringLiteral("a"))->comboBox->setCurrentIndex(1);
        QCOMPARE(spy.count(), 0);
        w.block_all_signals(false);
        for (QObject *o : below)
            QVERIFY(!o->signalsBlocked());
        row(w, QStringLiteral("a"))->comboBox->setCurrentIndex(0);
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(TestRows)
#include "test_rows.moc"
