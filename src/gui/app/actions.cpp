#include "core/actions/game.h"
#include "core/session/session.h"
#include "gui/app/mainwindow.h"

#include <QDesktopServices>
#include <QUrl>

void MainWindow::run_wow_app()
{
    // A game that cannot be started leaves the launcher open; the session says why.
    if (session_->launch())
        close();
}

void MainWindow::open_dscrd_link()
{
    session_->open_link([](const QString &address) { return QDesktopServices::openUrl(QUrl(address)); });
}

// What it did, or where it stopped, the session says.
void MainWindow::clear_trash() { static_cast<void>(session_->clean()); }
