#include "core/session/session.h"
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

QGridLayout *grid(MainWindow &w) { return w.gridLayout_3; }

QPair<int, int> cell_of(MainWindow &w, QWidget *frame)
{
    int row = -1, column = -1, rs = 0, cs = 0;
    const int index = grid(w)->indexOf(frame);
    if (index >= 0)
        grid(w)->getItemPosition(index, &row, &column, &rs, &cs);
    return {row, column};
}

DynamicItem *row(MainWindow &w, const QString &key) { return w.patch_row(key); }

}  // namespace

class TestRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { register_fonts(); }

    void titles_drop_groups_and_take_their_size()
    {
        WindowFixture f(
            language_file("{\"a\": " + patch_entry("Patch A (note) (12)") + ", \"b\": " + patch_entry("Plain") + "}"));
        QVERIFY(f.build());
        DynamicItem *a = row(*f.window, QStringLiteral("a"));
        QCOMPARE(a->label->text(), QStringLiteral("Patch A  "));
        QCOMPARE(a->name, QStringLiteral("Patch A  "));
        QCOMPARE(a->label->styleSheet(), QStringLiteral("font: normal 12pt FrizQuadrataCTT;"));
        QCOMPARE(row(*f.window, QStringLiteral("b"))->fontsize, QStringLiteral("10pt"));
        QCOMPARE(f.window->fixed_row(RowKind::Fonts)->label->text(), QStringLiteral("Interface fonts "));
        QCOMPARE(f.window->fixed_row(RowKind::Fonts)->fontsize, QStringLiteral("11pt"));
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
        WindowFixture f(language_file("{\"a\": " + patch_entry("A") + "}"), {locale});
        QVERIFY(f.build());
        for (StaticItem *item :
             {static_cast<StaticItem *>(row(*f.window, QStringLiteral("a"))), f.window->fixed_row(RowKind::Fonts)}) {
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
        QByteArray dynamic =
            "{\"z\": " + patch_entry("Z") + ", \"y\": " + patch_entry("") + ", \"x\": " + patch_entry("X") + "}";
        WindowFixture f(language_file(dynamic));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        QCOMPARE(cell_of(w, row(w, QStringLiteral("z"))->frame), qMakePair(2, 0));
        QCOMPARE(cell_of(w, row(w, QStringLiteral("x"))->frame), qMakePair(2, 1));
        QVERIFY(!row(w, QStringLiteral("y")));
        QCOMPARE(cell_of(w, w.fixed_row(RowKind::AllPatches)->frame), qMakePair(0, 0));
        QCOMPARE(cell_of(w, w.fixed_row(RowKind::AllPatches)->sign), qMakePair(0, 1));
        QCOMPARE(cell_of(w, w.fixed_row(RowKind::Fonts)->frame), qMakePair(1, 0));
        QCOMPARE(cell_of(w, w.fixed_row(RowKind::Dxvk)->frame), qMakePair(1, 1));
        QCOMPARE(w.patchFrames().size(), 4);
        QCOMPARE(w.patchFrames().at(0), row(w, QStringLiteral("z")));
        QCOMPARE(w.patchFrames().at(1), row(w, QStringLiteral("x")));
        QCOMPARE(w.patchFrames().at(2), w.fixed_row(RowKind::Fonts));
        QCOMPARE(w.patchFrames().at(3), w.fixed_row(RowKind::Dxvk));
        QVERIFY(!w.patchFrames().contains(w.fixed_row(RowKind::AllPatches)));
    }

    void the_26th_row_sits_at_row_14_column_1()
    {
        WindowFixture f(language_file(plain_patches(26)));
        QVERIFY(f.build());
        QCOMPARE(cell_of(*f.window, row(*f.window, QStringLiteral("u"))->frame), qMakePair(14, 1));
        QCOMPARE(cell_of(*f.window, row(*f.window, QStringLiteral("t"))->frame), qMakePair(14, 0));
    }

    void a_row_built_later_leaves_the_fixed_rows_their_kinds()
    {
        WindowFixture f(language_file("{\"a\": " + patch_entry("A") + "}"));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        const RowContext context{&w.session(), w.scrollArea_widget, &w, QStringLiteral("en")};
        DynamicItem extra(context,
                          tess::patch_row(QStringLiteral("b"), tess::Json::parse(patch_entry("Extra").toStdString())));
        QCOMPARE(extra.kind(), RowKind::Patch);
        QCOMPARE(w.fixed_row(RowKind::Fonts)->kind(), RowKind::Fonts);
        QCOMPARE(w.fixed_row(RowKind::Dxvk)->kind(), RowKind::Dxvk);
        QCOMPARE(w.fixed_row(RowKind::AllPatches)->kind(), RowKind::AllPatches);
    }

    void files_matching_no_choice_show_question_marks_then_follow_a_pick()
    {
        WindowFixture f(language_file("{\"a\": " + patch_entry("A") + "}"));
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
        QCOMPARE(f.window->fixed_row(RowKind::AllPatches)->comboBox->currentText(), QStringLiteral("Defaults"));

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
        WindowFixture f(language_file(
            "{\"a\": " + patch_entry("A", R"({"On": [1, 1], "Data": [1, 0], "Off": [0, 0]})")
            + ", \"b\": " + patch_entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11|a10", "Needs A"]])") + "}"));
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

    void no_selection_writes_only_the_change_line()
    {
        WindowFixture f(language_file("{\"a\": " + patch_entry("A") + "}"));
        QVERIFY(f.build());
        f.clearLog();
        row(*f.window, QStringLiteral("a"))->perform_action(-1);
        QCOMPARE(f.messages(), QStringList{"DEBUG | Изменено состояние для: 'A'"});
    }

    void a_custom_mix_shows_question_marks_and_the_sign()
    {
        WindowFixture f(
            language_file("{\"a\": " + patch_entry("A") + ", \"b\": " + patch_entry("B") + "}", R"(["a11", "b11"])"));
        f.game.touch(QStringLiteral("Data/patch-a.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq"));
        f.game.touch(QStringLiteral("Data/patch-b.mpq.disabled"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-b.mpq.disabled"));
        QVERIFY(f.build());
        StaticItem *all = f.window->fixed_row(RowKind::AllPatches);
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
            "{\"a\": " + patch_entry("A")
            + ", \"b\": " + patch_entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])")
            + ", \"c\": " + patch_entry("C", R"({"On": [1, 1], "Off": [0, 0]})", R"([["b11", "Needs B"]])") + "}"));
        for (const char *name : {"a", "b", "c"}) {
            f.game.touch(QStringLiteral("Data/patch-%1.mpq").arg(QLatin1String(name)));
            f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-%1.mpq").arg(QLatin1String(name)));
        }
        QVERIFY(f.build());
        f.clearLog();
        row(*f.window, QStringLiteral("a"))->comboBox->setCurrentIndex(1);
        QCOMPARE(f.messages().filter(QStringLiteral("Изменено состояние для")).size(), 1);
        QCOMPARE(row(*f.window, QStringLiteral("c"))->comboBox->currentText(), QStringLiteral("Off"));
        QCOMPARE(f.window->fixed_row(RowKind::AllPatches)->comboBox->currentIndex(), 2);
    }

    void unblocking_reaches_every_object_below_the_list()
    {
        WindowFixture f(language_file("{\"a\": " + patch_entry("A") + "}"));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        const QList<QObject *> below = w.scrollArea->findChildren<QObject *>();
        QVERIFY(below.contains(w.gridLayout_3));
        QVERIFY(below.contains(w.scrollArea->verticalScrollBar()));
        w.fixed_row(RowKind::Fonts)->comboBox->blockSignals(true);
        auto blocked = std::make_unique<ListSignalBlocker>(w.scrollArea);
        for (QObject *o : below)
            QVERIFY(o->signalsBlocked());
        QVERIFY(!w.scrollArea->signalsBlocked());
        QSignalSpy spy(row(w, QStringLiteral("a"))->comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged));
        row(w, QStringLiteral("a"))->comboBox->setCurrentIndex(0);
        row(w, QStringLiteral("a"))->comboBox->setCurrentIndex(1);
        QCOMPARE(spy.count(), 0);
        blocked.reset();
        for (QObject *o : below)
            QVERIFY(!o->signalsBlocked());
        row(w, QStringLiteral("a"))->comboBox->setCurrentIndex(0);
        QCOMPARE(spy.count(), 1);
    }

    void a_broken_archive_marks_its_own_row_only_and_keeps_the_hints()
    {
        WindowFixture f(language_file("{\"a\": " + patch_entry("A") + ", \"b\": "
                                      + patch_entry("B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11", "Needs A"]])")
                                      + "}"));
        // A header with empty tables: sound. The same saying the archive is 600 KB long: cut short.
        QByteArray sound(32, '\0');
        const auto put = [](QByteArray &b, int at, quint32 v) {
            for (int i = 0; i < 4; ++i)
                b[at + i] = char(v >> (8 * i));
        };
        put(sound, 0, 0x1A51504D);
        put(sound, 4, 32);
        put(sound, 8, 32);
        QByteArray cut = sound;
        put(cut, 8, 600 * 1024);
        f.game.touch(QStringLiteral("Data/patch-2.mpq"), sound);  // the game's own: not running
        f.game.touch(QStringLiteral("Data/patch-a.mpq"), sound);
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq"), sound);
        f.game.touch(QStringLiteral("Data/patch-b.mpq.disabled"), cut);
        QVERIFY(f.build());
        DynamicItem *a = row(*f.window, QStringLiteral("a"));
        DynamicItem *b = row(*f.window, QStringLiteral("b"));

        QSignalSpy checked(&f.window->session(), &tess::Session::archiveProblems);
        f.window->session().start_archive_check();
        QVERIFY(checked.wait(20000));
        QCOMPARE(f.window->findChildren<QLabel *>(QStringLiteral("warningSign")).size(), 1);
        QVERIFY(!a->warningSign);
        QVERIFY(b->warningSign && !b->warningSign->isHidden());
        QCOMPARE(b->warningSign->parentWidget(), b->frame);
        const QString line = QStringLiteral("patch-b.mpq.disabled: cut short: 0.00 of 0.59 MB");
        QCOMPARE(b->comboBox->toolTip(), line);
        QCOMPARE(a->comboBox->toolTip(), QString());
        QCOMPARE(f.messages().filter(QStringLiteral("WARNING | Архив патча неисправен: ")).size(), 1);
        QVERIFY(f.messages().filter(QStringLiteral("DEBUG | Архивы патчей проверены: 3 за ")).size() == 1);

        // The player may still switch it; a failed condition's hint comes first, the archive's line stays.
        b->comboBox->setCurrentIndex(0);
        a->comboBox->setCurrentIndex(1);
        QCOMPARE(b->comboBox->toolTip(), QStringLiteral("Needs A\n") + line);
        QVERIFY(!b->warningSign->isHidden());
    }
};

QTEST_MAIN(TestRows)
#include "test_rows.moc"
