// Draws the launcher's window as a player sees it, at a display scale, and
// saves it as a picture: the pictures of the notice in docs/ are made with
// it (scripts/notice-pictures). Run in a launcher folder, on the offscreen
// platform:
//   notice_pictures LANGUAGE DPI OUT.png
#include "gui/app/mainwindow.h"
#include "gui/app/scaling.h"
#include "core/session/session.h"
#include "gui/ui/look.h"
#include "log/log.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextStream>
#include <QTimer>
#include <QtGui/private/qhighdpiscaling_p.h>

int main(int argc, char *argv[])
{
    tess::setup_log();
    tess::scaling::prepare();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: notice_pictures LANGUAGE DPI OUT.png\n";
        return 2;
    }
    // The factor the launcher takes on a desktop of that resolution, on a
    // screen large enough for it.
    const double factor =
        tess::scaling::factor_for(args.at(1).toDouble(), QSize(3840, 2160), MainWindow::window_size());
    if (factor != 1.0)
        QHighDpiScaling::setScreenFactor(QGuiApplication::primaryScreen(), factor);
    tess::look::set_application_look();
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU_bold.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_RU.ttf"));

    MainWindow window({args.at(0)});
    window.show();
    window.postshow_scroll_config(window.scrollArea->verticalScrollBar()->maximum());
    QTimer::singleShot(0, &window.session(), &tess::Session::start_archive_check);
    // The archive check marks its rows; the music starts.
    QTimer::singleShot(1500, &app, &QApplication::quit);
    QApplication::exec();

    // On the grey of the other pictures' desktop, 20 pixels of it around.
    const QPixmap shot = window.grab();
    const qreal ratio = shot.devicePixelRatio();
    const QSize margin = QSize(20, 20) * ratio;
    QImage picture(shot.size() + margin * 2, QImage::Format_RGB32);
    picture.fill(QColor(128, 128, 128));
    QPainter painter(&picture);
    painter.drawPixmap(QRect(QPoint(margin.width(), margin.height()), shot.size()), shot);
    painter.end();
    if (!picture.save(args.at(2))) {
        err << "notice_pictures: cannot write " << args.at(2) << "\n";
        return 1;
    }
    return 0;
}
