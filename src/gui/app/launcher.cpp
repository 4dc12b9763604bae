#include "gui/app/launcher.h"

#include "log/log.h"
#include "gui/app/mainwindow.h"
#include "gui/app/scaling.h"
#include "core/config/fatal.h"
#include "core/session/session.h"
#include "system/system.h"
#include "gui/ui/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace tess {

int run_launcher(int argc, char *argv[])
{
    setup_log();
    // The resource bundle is compiled into the executable and registered
    // before main() runs, so it is usable from here on.

    scaling::prepare();
    platform::use_freetype_text();
    QApplication app(argc, argv);
    scaling::apply(MainWindow::window_size());
    look::set_application_look();
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    log().debug(QStringLiteral("Запуск графического интерфейса"));

    QFontDatabase font_db;
    font_db.addApplicationFont(QStringLiteral(":/fonts/friz_noRU.otf"));
    font_db.addApplicationFont(QStringLiteral(":/fonts/friz_noRU_bold.otf"));
    font_db.addApplicationFont(QStringLiteral(":/fonts/friz_RU.ttf"));

    try {
        QStringList arguments = QApplication::arguments();
        if (!arguments.isEmpty())
            arguments.removeFirst();  // the program's own name
        MainWindow main_win(arguments);
        // Wanted only once the window is shown; read here, it overlaps the
        // window's own pictures, which are decoded from its start.
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/main_window/icon.ico")));
        main_win.show();
        main_win.postshow_scroll_config(main_win.scrollArea->verticalScrollBar()->maximum());
        // Once the window is up: the check never delays its first picture.
        QTimer::singleShot(0, &main_win.session(), &Session::start_archive_check);
        return QApplication::exec();
    } catch (const UnusableLanguageFile &) {
        // Already logged; no window was shown.
        return 1;
    }
}

}  // namespace tess
