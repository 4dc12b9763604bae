// Draws the launcher's window as a player sees it, at a display scale, with
// a notice of the language file shown, and saves it as a picture: the
// pictures of the notice in docs/ are made with it (scripts/notice-pictures).
// Run in a launcher folder, on the offscreen platform:
//   notice_pictures [--crop] LANGUAGE DPI OUT.png [NOTICE [DETAIL...]]
// NOTICE is a member of the language file's `notices`; a DETAIL that names
// one stands for its text, "size:N" and "count:N" for N bytes and N things
// as the language writes them, "address" for the community link. Without NOTICE the window shows what the session
// itself says (outside a game folder, its lasting notice). --crop keeps the
// notice and the buttons below it only.
#include "core/actions/game.h"
#include "core/config/notice_texts.h"
#include "gui/app/notice.h"
#include "gui/app/mainwindow.h"
#include "gui/app/scaling.h"
#include "core/session/session.h"
#include "gui/ui/look.h"
#include "log/log.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QtGui/private/qhighdpiscaling_p.h>

int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    const bool crop = argc > 1 && QByteArray(argv[1]) == "--crop";
    if (argc < (crop ? 5 : 4)) {
        err << "usage: notice_pictures [--crop] LANGUAGE DPI OUT.png [NOTICE [DETAIL...]]\n";
        return 2;
    }
    tess::setup_log();
    tess::scaling::prepare();
    // The desktop's font resolution, as Xft.dpi gives it to the launcher.
    const QByteArray dpi = argv[crop ? 3 : 2];
    if (dpi.toDouble() != 96.0)
        qputenv("QT_FONT_DPI", dpi);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(crop ? 2 : 1);
    // The factor the launcher takes on such a desktop, on a screen large
    // enough for it.
    const double factor = tess::scaling::factor_for(dpi.toDouble(), QSize(3840, 2160), MainWindow::window_size());
    if (factor != 1.0)
        QHighDpiScaling::setScreenFactor(QGuiApplication::primaryScreen(), factor);
    tess::look::set_application_look();
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU_bold.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_RU.ttf"));

    MainWindow window({args.at(0)});
    // Never closed: the demo folder's settings stay as they are.
    window.show();
    window.postshow_scroll_config(window.scrollArea->verticalScrollBar()->maximum());
    QTimer::singleShot(0, &window.session(), &tess::Session::start_archive_check);
    // The archive check marks its rows; the music starts.
    QTimer::singleShot(1500, &app, &QApplication::quit);
    QApplication::exec();

    if (args.size() > 3) {
        const tess::NoticeTexts &texts = window.session().notice_texts();
        QString text = tess::notice_text(texts, args.at(3));
        if (text.isEmpty()) {
            err << "notice_pictures: no notice " << args.at(3) << "\n";
            return 2;
        }
        const QLocale language = tess::file_language(QFileInfo(window.session().language_file()).fileName());
        for (const QString &detail : args.mid(4)) {
            QString shown = tess::notice_text(texts, detail);
            if (detail.startsWith(QLatin1String("size:")))
                shown = tess::size_text(detail.mid(5).toLongLong(), language);
            else if (detail.startsWith(QLatin1String("count:")))
                shown = tess::count_text(detail.mid(6).toLongLong(), language);
            else if (detail == QLatin1String("address"))
                shown = tess::community_invitation();
            text = text.arg(shown.isEmpty() ? detail : shown);
        }
        window.notice->show_passing(text);
    }

    // On the grey of the other pictures' desktop, 20 pixels of it around;
    // cropped, the notice with as much of the sky around it and the buttons below.
    QRect part = window.rect();
    if (crop)
        part = QRect(window.notice->geometry().topLeft() - QPoint(20, 20), window.run_wow->geometry().bottomRight())
                   .marginsAdded(QMargins(0, 0, 20, 10))
                   .intersected(window.rect());
    const QPixmap shot = window.grab(part);
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
