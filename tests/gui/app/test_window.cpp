#include "support/windowfixture.h"

#include "core/actions/game.h"
#include "gui/app/notice.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>
#include <QProcess>
#include <QComboBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <qpa/qwindowsysteminterface.h>

namespace {

QByteArray rows(int n) { return language_file(plain_patches(n)); }

void send_mouse(QWidget *target, QEvent::Type type, QPoint global, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Builds the window and shows it at (100, 100).
MainWindow *shown_at_100(WindowFixture &f)
{
    if (!f.build())
        return nullptr;
    f.window->move(100, 100);
    f.window->show();
    return QTest::qWaitForWindowExposed(f.window.get()) ? f.window.get() : nullptr;
}

// What the window's notice says, as a screen reader finds it: through the
// accessible tree, hidden ones left out.
QStringList spoken(QWidget *window)
{
    QStringList names;
    std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || !node->isValid() || node->state().invisible)
            return;
        if (node->role() == QAccessible::StaticText && qobject_cast<Notice *>(node->object())
            && !node->text(QAccessible::Name).isEmpty())
            names << node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return names;
}

// Whether a screen reader finds a notice holding every one of `parts`.
bool speaks(QWidget *window, const QStringList &parts)
{
    for (const QString &name : spoken(window)) {
        bool all = true;
        for (const QString &part : parts)
            all = all && name.contains(part);
        if (all)
            return true;
    }
    return false;
}

// A shipped notice text up to its first detail, as every notice shows it.
QString notice_head(const tess::NoticeTexts &texts, const QString &member)
{
    return tess::notice_text(texts, member).section(QLatin1Char('%'), 0, 0);
}

// Qt sets "under mouse" from the pointer's real position; a test puts it there.
void hover(QWidget *w, bool on) { w->setAttribute(Qt::WA_UnderMouse, on); }

}  // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { register_fonts(); }

    void drag_on_the_background_moves_the_window_by_the_distance()
    {
        WindowFixture f(rows(2));
        MainWindow *shown = shown_at_100(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        const QPoint start = w.mapToGlobal(QPoint(600, 250));
        send_mouse(&w, QEvent::MouseButtonPress, start, Qt::LeftButton);
        send_mouse(&w, QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
        send_mouse(&w, QEvent::MouseMove, start + QPoint(45, 5), Qt::LeftButton);
        QCOMPARE(w.pos(), QPoint(145, 105));
    }

    void two_buttons_held_neither_record_nor_move()
    {
        WindowFixture f(rows(2));
        MainWindow *shown = shown_at_100(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        const QPoint start = w.mapToGlobal(QPoint(600, 250));
        send_mouse(&w, QEvent::MouseButtonPress, start, Qt::LeftButton | Qt::RightButton);
        send_mouse(&w, QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton | Qt::RightButton);
        QCOMPARE(w.pos(), QPoint(100, 100));
    }

    void no_move_over_the_list_the_slider_and_two_buttons()
    {
        WindowFixture f(rows(2));
        MainWindow *shown = shown_at_100(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        const QPoint start = w.mapToGlobal(QPoint(600, 250));
        send_mouse(&w, QEvent::MouseButtonPress, start, Qt::LeftButton);
        for (QWidget *refused :
             {static_cast<QWidget *>(w.scrollArea_frame), static_cast<QWidget *>(w.clear_cache_and_trash),
              static_cast<QWidget *>(w.exit), static_cast<QWidget *>(w.volume)}) {
            hover(refused, true);
            send_mouse(&w, QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
            hover(refused, false);
            QCOMPARE(w.pos(), QPoint(100, 100));
        }
        // Over the start button the drag works, by the whole distance since the press.
        hover(w.run_wow, true);
        send_mouse(&w, QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
        QCOMPARE(w.pos(), QPoint(130, 120));
    }

    void the_wheel_changes_neither_option_nor_scroll_position()
    {
        WindowFixture f(rows(26));
        f.game.touch(QStringLiteral("Data/patch-2.mpq"));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QComboBox *combo = static_cast<DynamicItem *>(w.patchFrames().first())->comboBox;
        QScrollBar *bar = w.scrollArea->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        const int index = combo->currentIndex();
        // Delivered as the window system does: a wheel the combo box leaves
        // unaccepted travels on to the list behind it.
        for (int delta : {-120, -120, 120, -120}) {
            const QPoint at = combo->rect().center();
            QWindowSystemInterface::handleWheelEvent(w.windowHandle(), QPointF(combo->mapTo(&w, at)),
                                                     QPointF(combo->mapToGlobal(at)), QPoint(), QPoint(0, delta));
            QCoreApplication::processEvents();
            QCOMPARE(combo->currentIndex(), index);
            QCOMPARE(bar->value(), 0);
        }
    }

    void presses_are_refused_while_the_game_holds_its_archive()
    {
        WindowFixture f(rows(1));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QComboBox *combo = static_cast<DynamicItem *>(w.patchFrames().first())->comboBox;
        // The list opens from the arrow (the text part only shows the choice).
        const QPoint arrow(combo->width() - 8, combo->height() / 2);
        // No archive at all: counts as running.
        QTest::mouseClick(combo, Qt::LeftButton, Qt::NoModifier, arrow);
        QVERIFY(!combo->view()->isVisible());
        QTest::mouseDClick(combo, Qt::LeftButton, Qt::NoModifier, arrow);
        QVERIFY(!combo->view()->isVisible());
        // Asked anew on the next press: with the archive free the list opens.
        f.game.touch(QStringLiteral("Data/patch-2.mpq"));
        QTest::mouseClick(combo, Qt::LeftButton, Qt::NoModifier, arrow);
        QTRY_VERIFY(combo->view()->isVisible());
        // The list is made on that first opening, skinned like the window.
        const QWidget *popup = combo->view()->window();
        QVERIFY(popup->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(popup->windowFlags() & Qt::NoDropShadowWindowHint);
        QVERIFY(popup->testAttribute(Qt::WA_TranslucentBackground));
        combo->hidePopup();
    }

    void the_window_passes_its_own_events_on()
    {
        WindowFixture f(rows(1));
        QVERIFY(f.build());
        QEvent event(QEvent::Wheel);
        QVERIFY(!static_cast<QObject *>(f.window.get())->eventFilter(f.window.get(), &event));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(!static_cast<QObject *>(f.window.get())->eventFilter(f.window->run_wow, &press));
    }

    void the_run_button_starts_the_game_and_closes_the_launcher()
    {
        WindowFixture f(rows(1));
        f.game.touch(QStringLiteral("wow.exe"), "#!/bin/sh\necho started \"$#\" > started.txt\n");
        QFile::setPermissions(f.game.path(QStringLiteral("wow.exe")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QFile::remove(QStringLiteral(".config/mediaplayer.ini"));
        QTest::mouseClick(w.run_wow, Qt::LeftButton);
        QTRY_VERIFY(f.game.exists(QStringLiteral("launcher/started.txt")));
        // Started in the launcher's folder, with no arguments.
        QCOMPARE(f.game.read(QStringLiteral("launcher/started.txt")), QByteArray("started 0\n"));
        QVERIFY(!w.isVisible());
        QVERIFY(f.game.exists(QStringLiteral("launcher/.config/mediaplayer.ini")));
        QCOMPARE(f.count(QStringLiteral("OK | Конфигурация медиаплеера сохранена")), 1);
    }

    void without_a_game_the_run_button_says_so_and_stays()
    {
        WindowFixture f(rows(1));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(spoken(&w).isEmpty());
        QTest::mouseClick(w.run_wow, Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(w.isVisible());
        const tess::NoticeTexts &t = w.session().notice_texts();
        QVERIFY2(speaks(&w, {notice_head(t, QStringLiteral("launch_failed")), QStringLiteral("wow.exe"), t.missing}),
                 qPrintable(spoken(&w).join('|')));
        QCOMPARE(f.messages().filter(QStringLiteral("WARNING | Не удалось запустить игру: wow.exe — ")).size(), 1);
    }

    void the_clean_button_says_what_it_freed_or_where_it_stopped()
    {
        WindowFixture f(rows(1));
        f.game.touch(QStringLiteral("cache/a/b.wdb"), QByteArray(2048, 'x'));
        f.game.touch(QStringLiteral("interface/addons/Xlizzard_UI/x.lua"));
        MainWindow *shown = shown_at_100(f);
        QVERIFY(shown);
        MainWindow &w = *shown;
        QTest::mouseClick(w.clear_cache_and_trash, Qt::LeftButton);
        QVERIFY(!f.game.exists(QStringLiteral("cache")));
        QVERIFY(!f.game.exists(QStringLiteral("interface/addons/Xlizzard_UI")));
        const tess::NoticeTexts &t = w.session().notice_texts();
        QVERIFY2(speaks(&w, {t.cleaned.arg(QStringLiteral("2.0 KB"), QStringLiteral("2"))}),
                 qPrintable(spoken(&w).join('|')));
        QCOMPARE(f.messages().filter(QStringLiteral("OK | Очистка завершена: освобождено 2.0 KB, файлов: 2")).size(),
                 1);

        // A file that stays is named, and the log says what was left.
        f.game.touch(QStringLiteral("cache/WDB/enUS/creaturecache.wdb"));
        Immutable lock(f.game.path(QStringLiteral("cache/WDB/enUS/creaturecache.wdb")));
        REQUIRE_IMMUTABLE(lock);
        QTest::mouseClick(w.clear_cache_and_trash, Qt::LeftButton);
        QVERIFY2(speaks(&w,
                        {notice_head(t, QStringLiteral("clean_stopped")),
                         QStringLiteral("cache/WDB/enUS/creaturecache.wdb"), t.accessDenied}),
                 qPrintable(spoken(&w).join('|')));
        QCOMPARE(
            f.messages()
                .filter(QStringLiteral("WARNING | Очистка не завершена, оставлено: cache/WDB/enUS/creaturecache.wdb: "))
                .size(),
            1);
    }

    // Each click that cannot do what was asked says why, in the language
    // file's words; the same clicks made harmless say nothing.
    void refusals_and_failures_speak_in_the_players_language_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("ru") << QStringLiteral("ru");
    }
    void refusals_and_failures_speak_in_the_players_language()
    {
        QFETCH(QString, language);
        const QString name = QStringLiteral("config_%1.json").arg(language);
        const QByteArray shipped = shipped_language_file(name);
        QVERIFY(!shipped.isEmpty());
        {
            // Outside a game folder: said at once, and it stays; the rows are locked.
            WindowFixture f(shipped, {language}, name);
            QVERIFY(QDir(f.game.path(QStringLiteral("Data"))).removeRecursively());
            MainWindow *shown = shown_at_100(f);
            QVERIFY(shown);
            MainWindow &w = *shown;
            const tess::NoticeTexts &t = w.session().notice_texts();
            const QString folder = QDir::toNativeSeparators(QDir(f.game.root()).absolutePath());
            QVERIFY2(speaks(&w, {t.notGameFolder.arg(folder)}), qPrintable(spoken(&w).join('|')));
            QCOMPARE(f.messages()
                         .filter(QStringLiteral("WARNING | Папка игры не найдена: нет wow.exe и Data в ") + folder)
                         .size(),
                     1);
            for (StaticItem *row : w.patchFrames())
                QVERIFY(!row->frame->isEnabled());
            QTest::mouseClick(w.clear_cache_and_trash, Qt::LeftButton);
            QVERIFY(speaks(&w, {t.notGameFolder.arg(folder)}));
        }
        WindowFixture f(shipped, {language}, name);
        f.game.touch(QStringLiteral("Data/patch-a.mpq"));
        f.game.touch(QStringLiteral("Data/ruRU/patch-ruRU-a.mpq"));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const tess::NoticeTexts &t = w.session().notice_texts();
        QVERIFY(spoken(&w).isEmpty());
        DynamicItem *a = w.patch_row(QStringLiteral("a"));
        QVERIFY(a);
        const QPoint arrow(a->comboBox->width() - 8, a->comboBox->height() / 2);

        // The probe's archive missing counts as running.
        QTest::mouseClick(a->comboBox, Qt::LeftButton, Qt::NoModifier, arrow);
        QVERIFY(!a->comboBox->view()->isVisible());
        QVERIFY(speaks(&w, {t.probeMissing}));
        QCOMPARE(f.messages().filter(QStringLiteral("WARNING | Действие отклонено: нет файла data/patch-2.mpq")).size(),
                 1);

        // The game holding it open.
        f.game.touch(QStringLiteral("Data/patch-2.mpq"));
        QProcess game;
        game.start(QStringLiteral("sh"),
                   {QStringLiteral("-c"), QStringLiteral("exec 3<\"$0\"; echo held; exec sleep 30"),
                    f.game.path(QStringLiteral("Data/patch-2.mpq"))});
        QVERIFY(game.waitForReadyRead(5000));
        QTest::mouseClick(a->comboBox, Qt::LeftButton, Qt::NoModifier, arrow);
        QVERIFY(!a->comboBox->view()->isVisible());
        QVERIFY(speaks(&w, {t.gameRunning}));
        QCOMPARE(f.messages().filter(QStringLiteral("WARNING | Действие отклонено: игра запущена")).size(), 1);
        game.kill();
        game.waitForFinished();

        // Free: the list opens, and the click dismissed the passing notice.
        QTest::mouseClick(a->comboBox, Qt::LeftButton, Qt::NoModifier, arrow);
        QTRY_VERIFY(a->comboBox->view()->isVisible());
        a->comboBox->hidePopup();
        QVERIFY(spoken(&w).isEmpty());

        // A write-protected data folder: the switch names the file and why,
        // on the notice, the row's sign and in the log.
        {
            Immutable lock(f.game.path(QStringLiteral("Data")));
            REQUIRE_IMMUTABLE(lock);
            a->comboBox->setCurrentIndex(a->comboBox->count() - 1);
        }
        const QString file = QStringLiteral("Data/patch-a.mpq");
        QVERIFY2(speaks(&w, {t.switchFailed.arg(file, t.accessDenied)}), qPrintable(spoken(&w).join('|')));
        QVERIFY(a->warningSign && !a->warningSign->isHidden());
        QCOMPARE(a->warningSign->toolTip(), t.switchFailed.arg(file, t.accessDenied));
        QCOMPARE(f.messages()
                     .filter(QStringLiteral("WARNING | Не удалось переименовать файл: ") + file + QStringLiteral(" — "))
                     .size(),
                 1);
        // The next change that goes through takes the sign away.
        a->comboBox->setCurrentIndex(a->comboBox->count() - 1);
        QVERIFY(a->warningSign->isHidden());
        QVERIFY(!f.game.exists(file));

        // No browser on this platform: the address, to be copied.
        QTest::mouseClick(w.dscrd, Qt::LeftButton);
        QVERIFY2(speaks(&w, {t.linkFailed.arg(tess::community_invitation())}), qPrintable(spoken(&w).join('|')));
        QCOMPARE(f.messages()
                     .filter(QStringLiteral("WARNING | Не удалось открыть ссылку: ") + tess::community_invitation())
                     .size(),
                 1);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
