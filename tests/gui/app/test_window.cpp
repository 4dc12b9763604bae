#include "support/windowfixture.h"

#include "core/session/session.h"
#include "gui/app/notice.h"

#include <QAbstractItemView>
#include <QLabel>
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

    // What the notice alone does not show (the notices themselves, read out
    // and logged, are tested through the whole program in test_installed):
    // outside a game folder every row is locked, and a failed switch marks
    // its row with the notice's words until a change on it goes through.
    void rows_show_the_lock_and_the_failed_switch()
    {
        const QString name = QStringLiteral("config_en.json");
        const QByteArray shipped = shipped_language_file(name);
        QVERIFY(!shipped.isEmpty());
        {
            WindowFixture f(shipped, {QStringLiteral("en")}, name);
            QVERIFY(QDir(f.game.path(QStringLiteral("Data"))).removeRecursively());
            MainWindow *shown = shown_at_100(f);
            QVERIFY(shown);
            for (StaticItem *row : shown->patchFrames())
                QVERIFY(!row->frame->isEnabled());
        }
        WindowFixture f(shipped, {QStringLiteral("en")}, name);
        for (const char *archive : {"Data/patch-a.mpq", "Data/ruRU/patch-ruRU-a.mpq", "Data/patch-2.mpq"})
            f.game.touch(QString::fromLatin1(archive));
        MainWindow *shown = shown_at_100(f);
        QVERIFY(shown);
        DynamicItem *a = shown->patch_row(QStringLiteral("a"));
        QVERIFY(a);
        {
            Immutable lock(f.game.path(QStringLiteral("Data")));
            REQUIRE_IMMUTABLE(lock);
            a->comboBox->setCurrentIndex(a->comboBox->count() - 1);
        }
        const tess::NoticeTexts &t = shown->session().notice_texts();
        const QString said = t.switchFailed.arg(QStringLiteral("Data/patch-a.mpq"), t.accessDenied);
        QCOMPARE(shown->notice->text(), said);
        QVERIFY(a->warningSign && !a->warningSign->isHidden());
        QCOMPARE(a->warningSign->toolTip(), said);
        a->comboBox->setCurrentIndex(a->comboBox->count() - 1);
        QVERIFY(a->warningSign->isHidden());
        QVERIFY(!f.game.exists(QStringLiteral("Data/patch-a.mpq")));
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
