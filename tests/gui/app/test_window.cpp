#include "support/windowfixture.h"

#include <QAbstractItemView>
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

    void without_a_game_the_run_button_changes_nothing()
    {
        WindowFixture f(rows(1));
        QVERIFY(f.build());
        MainWindow &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QStringList before = f.messages();
        QTest::mouseClick(w.run_wow, Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(w.isVisible());
        QCOMPARE(f.messages(), before);
    }

    void the_clean_button_cleans_silently()
    {
        WindowFixture f(rows(1));
        f.game.touch(QStringLiteral("cache/a/b.wdb"));
        f.game.touch(QStringLiteral("interface/addons/Xlizzard_UI/x.lua"));
        QVERIFY(f.build());
        const QStringList before = f.messages();
        QTest::mouseClick(f.window->clear_cache_and_trash, Qt::LeftButton);
        QVERIFY(!f.game.exists(QStringLiteral("cache")));
        QVERIFY(!f.game.exists(QStringLiteral("interface/addons/Xlizzard_UI")));
        QCOMPARE(f.messages(), before);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
