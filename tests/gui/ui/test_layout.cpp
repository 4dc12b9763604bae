#include "gui/app/notice.h"
#include "gui/app/scaling.h"
#include "support/windowfixture.h"
#include "core/actions/game.h"
#include "core/config/notice_texts.h"
#include "gui/ui/customwidget.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QStyleOptionComboBox>
#include <QFrame>
#include <QPaintEvent>
#include <QPixmap>
#include <QGridLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <utility>

namespace {

int rule_at(const QString &sheet, const QString &selector) { return sheet.indexOf(selector + QLatin1Char('{')); }

// Counts repaints of a widget that reach beyond the area of its child.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QPoint outside) : outside_(outside) {}
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && static_cast<QPaintEvent *>(event)->region().contains(outside_))
            ++paints;
        return false;
    }

private:
    QPoint outside_;
};

// Builds the window and shows it; null when either fails.
MainWindow *shown_window(WindowFixture &f)
{
    if (!f.build())
        return nullptr;
    f.window->show();
    return QTest::qWaitForWindowExposed(f.window.get()) ? f.window.get() : nullptr;
}

// A box's value is drawn right-aligned up to its drop-down and may reach
// into the left padding, but not onto the bar's border.
constexpr int kBarBorder = 4;

// The shipped texts wider than the place they are drawn in: each combo box
// item, each one-line label and button text against its contents.
QStringList cut_texts(const QWidget &window)
{
    QStringList cut;
    const auto wider = [&](const QWidget *w, const QString &text, int room) {
        if (!text.isEmpty() && w->isVisibleTo(&window) && w->fontMetrics().horizontalAdvance(text) > room)
            cut << QStringLiteral("%1 (%2 px in %3)").arg(text).arg(w->fontMetrics().horizontalAdvance(text)).arg(room);
    };
    for (const QComboBox *box : window.findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        option.frame = box->hasFrame();
        const QRect field =
            box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i)
            wider(box, box->itemText(i), field.right() + 1 - kBarBorder);
    }
    for (const QLabel *label : window.findChildren<QLabel *>())
        if (!label->wordWrap())
            wider(label, label->text(), label->contentsRect().width());
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        wider(button, button->text(), button->contentsRect().width());
    return cut;
}

// A press on an empty stretch of the window's sky, where nothing but the window itself takes it.
void click_the_sky(MainWindow &w)
{
    QTest::mouseClick(w.Widget, Qt::LeftButton, {}, QPoint(w.Widget->width() - 30, 150));
}

}  // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    // The desktop's own factor, unless the window would not fit its screen.
    void the_window_takes_the_desktops_scale_and_fits_its_screen_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<double>("factor");
        QTest::newRow("100 %") << 96.0 << QSize(1366, 728) << 1.0;
        QTest::newRow("125 %") << 120.0 << QSize(1920, 1040) << 1.25;
        QTest::newRow("150 %") << 144.0 << QSize(1920, 1040) << 1.5;
        QTest::newRow("200 % on a large screen") << 192.0 << QSize(2560, 1560) << 2.0;
        QTest::newRow("200 % on a 1080p screen") << 192.0 << QSize(1920, 1040) << 1040.0 / 570;
        QTest::newRow("150 % on a 1366x768 screen") << 144.0 << QSize(1366, 728) << 728.0 / 570;
        QTest::newRow("a resolution from the screen's size, no scale chosen") << 100.0 << QSize(1280, 760) << 1.0;
        QTest::newRow("112.5 %") << 108.0 << QSize(1920, 1040) << 1.125;
        QTest::newRow("below 96 DPI") << 72.0 << QSize(1366, 728) << 1.0;
        QTest::newRow("a screen smaller than the window") << 144.0 << QSize(800, 480) << 1.0;
    }
    void the_window_takes_the_desktops_scale_and_fits_its_screen()
    {
        QFETCH(double, dpi);
        QFETCH(QSize, available);
        QFETCH(double, factor);
        QCOMPARE(tess::scaling::factor_for(dpi, available, Ui_MainWindow::window_size()), factor);
    }

    void initTestCase() { register_fonts(); }

    void tree_carries_object_names_and_fixed_size()
    {
        WindowFixture f(language_file(plain_patches(2)));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        for (const char *name :
             {"MainWidget",   "Widget",      "scrollArea_frame",      "scrollArea", "scrollArea_widget",
              "gridLayout_3", "scrollFrame", "verticalLayout",        "up_btn",     "scroll_slider",
              "down_btn",     "volume",      "clear_cache_and_trash", "run_wow",    "menu_frame",
              "discord",      "exit",        "horizontalLayout",      "gridLayout", "gridLayout_2",
              "gridLayout_5"})
            QVERIFY2(w.findChild<QObject *>(QString::fromLatin1(name)), name);
        QVERIFY(!w.findChild<QObject *>(QStringLiteral("dscrd")));
        QCOMPARE(w.objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(w.minimumSize(), QSize(830, 570));
        QCOMPARE(w.maximumSize(), QSize(830, 570));
        QCOMPARE(w.windowTitle(), QStringLiteral("Tessarine"));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(w.testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(w.centralWidget(), w.MainWidget);
        QVERIFY(!w.dscrd->icon().isNull());
    }

    void font_follows_the_language_code_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("ru_ru") << "ru_ru"
                               << "font: normal 11pt \"FrizQuadrataCTT\";\nborder-radius: 10px";
        QTest::newRow("en_us") << "en_us"
                               << "font: bold 11pt \"Friz Quadrata Std\";\nborder-radius: 10px";
        QTest::newRow("both: ru first") << "ru_en"
                                        << "font: normal 11pt \"FrizQuadrataCTT\";\nborder-radius: 10px";
        QTest::newRow("neither") << "de_de"
                                 << "font: bold 11pt \"Friz Quadrata Std\";\nborder-radius: 10px";
    }
    void font_follows_the_language_code()
    {
        QFETCH(QString, locale);
        QFETCH(QString, sheet);
        QMainWindow host;
        Ui_MainWindow ui;
        ui.setupUi(&host, locale);
        QCOMPARE(ui.MainWidget->styleSheet(), sheet);
        QCOMPARE(ui.run_wow->font().family(), ui.fontfile);
        QCOMPARE(ui.run_wow->font().styleStrategy(), QFont::PreferAntialias);
    }

    void fresh_layout_has_fixed_texts_and_full_volume()
    {
        QMainWindow host;
        Ui_MainWindow ui;
        ui.setupUi(&host, QStringLiteral("en_us"));
        QCOMPARE(host.windowTitle(), QStringLiteral("MainWindow"));
        QCOMPARE(ui.exit->text(), QStringLiteral("EXIT"));
        QCOMPARE(ui.clear_cache_and_trash->text(), QStringLiteral("CLEAR CACHE AND TRASH"));
        QCOMPARE(ui.run_wow->text(), QStringLiteral("RUN WOW"));
        QCOMPARE(ui.volume->value(), 100);
        QCOMPARE(ui.volume->minimum(), 0);
        QCOMPARE(ui.volume->maximum(), 100);
        QCOMPARE(ui.scroll_slider->orientation(), Qt::Vertical);
        QVERIFY(ui.scroll_slider->invertedAppearance());
        QVERIFY(ui.scroll_slider->invertedControls());
        QCOMPARE(ui.scrollArea->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(ui.scrollArea->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(ui.scrollArea->widget(), ui.scrollArea_widget);
        QCOMPARE(ui.gridLayout_5->contentsMargins(), QMargins(30, 30, 25, 32));
        QCOMPARE(ui.gridLayout->contentsMargins(), QMargins(5, 5, 20, 20));
        QCOMPARE(ui.gridLayout_3->spacing(), 5);
        QCOMPARE(ui.up_btn->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(ui.exit->focusPolicy(), Qt::NoFocus);
        QCOMPARE(ui.exit->minimumSize(), QSize(100, 40));
        QCOMPARE(ui.dscrd->maximumSize(), QSize(35, 40));
    }

    void later_rules_win_so_their_order_is_kept()
    {
        QMainWindow host;
        Ui_MainWindow ui;
        ui.setupUi(&host, QStringLiteral("en_us"));
        for (const QString &sheet : {ui.Widget->styleSheet(), ui.menu_frame->styleSheet()}) {
            const int hover = rule_at(sheet, QStringLiteral("QToolButton:hover"));
            const int pressed = rule_at(sheet, QStringLiteral("QToolButton:pressed"));
            const int plain = rule_at(sheet, QStringLiteral("QToolButton"));
            const int disabled = rule_at(sheet, QStringLiteral("QToolButton:disabled"));
            QVERIFY(hover >= 0 && hover < pressed && pressed < plain && plain < disabled);
        }
        QVERIFY(ui.Widget->styleSheet().contains(
            QStringLiteral("url(:/main_window/background.jpg) 0 0 0 0 stretch stretch")));
        QVERIFY(ui.exit->styleSheet().startsWith(QStringLiteral("QToolButton#exit{\n    color: rgb(255, 199, 0);")));
        QVERIFY(
            ui.run_wow->styleSheet().contains(QStringLiteral("QToolButton#run_wow:disabled{\n    color: #b2b2b2;")));
    }

    void buttons_scroll_by_three_steps_and_stop_at_the_ends()
    {
        WindowFixture f(language_file(plain_patches(26)));
        MainWindow *shown = shown_window(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        QScrollBar *bar = w.scrollArea->verticalScrollBar();
        QVERIFY(qobject_cast<CustomScroll *>(bar));
        const int max = bar->maximum();
        QVERIFY(max > 0);
        w.postshow_scroll_config(max);
        QCOMPARE(w.scroll_slider->maximum(), max);
        QVERIFY(w.scrollFrame->isVisibleTo(&w));
        const int step = bar->singleStep() * 3;
        QVERIFY(
            f.messages().contains(QStringLiteral("DEBUG | Длина полосы прокрутки: %1, шаг: %2").arg(max).arg(step)));

        QTest::mouseClick(w.up_btn, Qt::LeftButton);
        QCOMPARE(bar->value(), 0);
        QTest::mouseClick(w.down_btn, Qt::LeftButton);
        QCOMPARE(bar->value(), qMin(step, max));
        QCOMPARE(w.scroll_slider->value(), bar->value());
        bar->setValue(max - 1);
        QTest::mouseClick(w.down_btn, Qt::LeftButton);
        QCOMPARE(bar->value(), max);
        QTest::mouseClick(w.down_btn, Qt::LeftButton);
        QCOMPARE(bar->value(), max);
        QCOMPARE(w.scroll_slider->value(), max);

        w.scroll_slider->setValue(max / 2);
        QCOMPARE(bar->value(), max / 2);
    }

    void the_background_is_decoded_at_the_size_it_is_drawn()
    {
        WindowFixture f(language_file(plain_patches(2)));
        MainWindow *shown = shown_window(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        // What the style sheet loads for the background is the picture at
        // the widget's size, not the whole 2099×1440 one.
        QCOMPARE(QPixmap(QStringLiteral(":/main_window/background.jpg")).size(), w.Widget->size());
    }

    void a_list_that_fits_hides_the_scroll_column()
    {
        WindowFixture f(language_file(plain_patches(2)));
        MainWindow *shown = shown_window(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        const int max = w.scrollArea->verticalScrollBar()->maximum();
        QCOMPARE(max, 0);
        w.postshow_scroll_config(max);
        QVERIFY(f.messages().filter(QStringLiteral("DEBUG | Длина полосы прокрутки: 0, шаг: ")).size() == 1);
        QCOMPARE(f.messages().last(), QStringLiteral("DEBUG | Полоса прокрутки скрыта"));
        QVERIFY(w.scrollFrame->isHidden());
    }

    // Every shipped text fits, a broken patch's row (its box narrowed by the
    // archive sign) included.
    void every_shipped_text_fits_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en";
        QTest::newRow("ru") << "ru";
    }
    void every_shipped_text_fits()
    {
        QFETCH(QString, language);
        const QString name = QStringLiteral("config_%1.json").arg(language);
        const QByteArray shipped = shipped_language_file(name);
        QVERIFY(!shipped.isEmpty());
        WindowFixture f(shipped, {language}, name);
        MainWindow *w = shown_window(f);
        QVERIFY(w);
        QStringList cut = cut_texts(*w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
        for (StaticItem *row : w->patchFrames())
            if (auto *patch = dynamic_cast<DynamicItem *>(row))
                patch->show_archive_problems({QStringLiteral("patch.mpq: cut short")});
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
        cut = cut_texts(*w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));

        // The longest notice of each kind, with long details, inside the sky
        // between the menu and the volume, its text whole.
        const tess::NoticeTexts t = w->session().notice_texts();
        QVERIFY(t.gameRunning != tess::NoticeTexts().gameRunning || language == QLatin1String("en"));
        // One long name with nothing to break at, as copied game folders are named.
        const QString path = QStringLiteral("C:/Games/World_of_Warcraft_3.3.5a_ruRU/Data/ruRU/patch-a.mpq");
        QCOMPARE(path.size(), 60);
        const QString address = QStringLiteral("https://") + QString(52, QLatin1Char('x'));
        QString longest;
        for (const QString &reason : {t.accessDenied, t.inUse, t.readOnly, t.missing, t.folderInTheWay, t.noWine})
            if (reason.size() > longest.size())
                longest = reason;
        const QString reason = longest + QStringLiteral("; ") + t.adminHint;
        const QLocale numbers = tess::file_language(name);
        const QStringList notices = {
            t.notGameFolder.arg(path),
            t.gameRunning,
            t.probeMissing,
            t.switchFailed.arg(path, reason),
            t.launchFailed.arg(path, reason),
            t.cleaned.arg(tess::size_text(qint64(1023) << 30, numbers), tess::count_text(1234567, numbers)),
            t.cleanStopped.arg(path, reason),
            t.linkFailed.arg(address),
            t.linkFailed.arg(tess::community_invitation()),
        };
        const QRect sky(QPoint(w->run_wow->x(), w->menu_frame->geometry().bottom() + 1),
                        QPoint(w->run_wow->geometry().right(), w->volume->geometry().top() - 1));
        for (const QString &text : notices) {
            w->notice->show_passing(text);
            const QRect at = w->notice->geometry();
            QVERIFY2(sky.contains(at), qPrintable(text));
            QVERIFY2(w->notice->heightForWidth(at.width()) <= at.height(), qPrintable(text));
            const int room = w->notice->contentsRect().width();
            QVERIFY2(w->notice->text_size(room).width() <= room, qPrintable(text));
        }
    }

    void the_notice_speaks_and_goes_at_a_click_or_in_time()
    {
        WindowFixture f(language_file(plain_patches(2)));
        MainWindow *shown = shown_window(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        Notice *notice = w.findChild<Notice *>(QStringLiteral("notice"));
        QVERIFY(notice);
        QCOMPARE(notice, w.notice);
        QVERIFY(notice->isHidden());
        const QList<QTimer *> timers = notice->findChildren<QTimer *>();
        QCOMPARE(timers.size(), 1);
        QTimer *timer = timers.first();
        QVERIFY(!timer->isActive());
        QVERIFY(timer->isSingleShot());
        const QImage quiet = w.grab().toImage();

        QWidget *focused = QApplication::focusWidget();
        notice->show_passing(QStringLiteral("Could not rename Data/patch-a.mpq: in use by another program."));
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->text(), QStringLiteral("Could not rename Data/patch-a.mpq: in use by another program."));
        // What screen readers read. (Their events need a platform with
        // accessibility, which the offscreen one is not.)
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(notice);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), notice->text());
        QCOMPARE(accessible->role(), QAccessible::StaticText);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), Notice::kPassingMs);
        QCOMPARE(notice->focusPolicy(), Qt::NoFocus);
        QCOMPARE(QApplication::focusWidget(), focused);
        // It sits between the menu and the volume, across the buttons' column.
        QVERIFY(notice->geometry().bottom() < w.volume->geometry().top());
        QVERIFY(notice->geometry().top() > w.menu_frame->geometry().bottom());
        QCOMPARE(notice->x(), w.run_wow->x());
        QCOMPARE(notice->width(), w.run_wow->width());

        click_the_sky(w);
        QVERIFY(notice->isHidden());
        QVERIFY(!timer->isActive());
        QVERIFY(notice->text().isEmpty());
        QVERIFY(notice->accessibleName().isEmpty());
        // Nothing of it is left in the picture.
        QCOMPARE(w.grab().toImage(), quiet);

        // A lasting notice stays through clicks and needs no timer; a passing
        // one covers it while it shows.
        notice->show_lasting(QStringLiteral("Not a game folder"));
        QVERIFY(notice->isVisible());
        QVERIFY(!timer->isActive());
        click_the_sky(w);
        QCOMPARE(notice->text(), QStringLiteral("Not a game folder"));
        notice->show_passing(QStringLiteral("The game is running"));
        QCOMPARE(notice->text(), QStringLiteral("The game is running"));
        QCOMPARE(notice->accessibleName(), notice->text());
        click_the_sky(w);
        QCOMPARE(notice->text(), QStringLiteral("Not a game folder"));
        QCOMPARE(notice->accessibleName(), notice->text());
        QVERIFY(notice->isVisible());
        QVERIFY(!timer->isActive());

        // In time, the passing one goes by itself.
        timer->setInterval(50);
        notice->show_passing(QStringLiteral("Freed 1.2 GB, 3,456 files."));
        QCOMPARE(notice->text(), QStringLiteral("Freed 1.2 GB, 3,456 files."));
        QTRY_COMPARE(notice->text(), QStringLiteral("Not a game folder"));
        QVERIFY(!timer->isActive());
        notice->dismiss();
        QCOMPARE(notice->text(), QStringLiteral("Not a game folder"));
        notice->clear_lasting();
        QVERIFY(notice->isHidden());
        QCOMPARE(w.grab().toImage(), quiet);
    }

    void hidden_bar_opens_no_context_menu()
    {
        QWidget host;
        auto *bar = new CustomScroll(&host);
        host.show();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(bar, &event);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(bar->orientation(), Qt::Vertical);
    }

    void slider_changes_ask_the_container_to_repaint()
    {
        QWidget container;
        container.resize(40, 200);
        auto *slider = new CustomSlider(&container);
        slider->setOrientation(Qt::Vertical);
        slider->setGeometry(5, 5, 25, 190);
        container.show();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        QTest::qWait(100);
        PaintCounter counter(QPoint(2, 2));
        container.installEventFilter(&counter);
        const std::pair<const char *, std::function<void()>> changes[] = {
            {"value", [slider] { slider->setValue(40); }},
            {"range", [slider] { slider->setMaximum(50); }},
            {"size", [slider] { slider->resize(25, 150); }},
        };
        for (const auto &[what, change] : changes) {
            const int before = counter.paints;
            change();
            QTRY_VERIFY2(counter.paints > before, what);
        }
    }

    void an_idle_window_leaves_the_scroll_slider_alone()
    {
        WindowFixture f(language_file(plain_patches(26)));
        MainWindow *shown = shown_window(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        w.postshow_scroll_config(w.scrollArea->verticalScrollBar()->maximum());
        QVERIFY(w.scroll_slider->isVisible());
        QTest::qWait(300);  // the paints that follow showing
        PaintCounter counter(QPoint(1, 1));
        w.scroll_slider->installEventFilter(&counter);
        QTest::qWait(1000);
        QVERIFY2(counter.paints <= 2, qPrintable(QString::number(counter.paints)));
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
