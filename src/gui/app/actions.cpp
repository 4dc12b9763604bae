#include "core/actions/game.h"
#include "core/session/session.h"
#include "gui/app/mainwindow.h"

#include <QDesktopServices>
#include <QUrl>

void MainWindow::run_wow_app()
{
    // A game that cannot be started leaves the launcher as it is.
    if (session_->launch())
        close();
}

void MainWindow::open_dscrd_link() { QDesktopServices::openUrl(QUrl(tess::community_invitation())); }

// A second press finishes what the first could not.
void MainWindow::clear_trash() { static_cast<void>(session_->clean()); }
