#include "core/actions/game.h"
#include "core/actions/cleaning.h"
#include "gui/app/mainwindow.h"

#include <QDesktopServices>
#include <QUrl>

bool MainWindow::check_game_running() { return tess::game_holds_archive(); }

void MainWindow::run_wow_app()
{
    // A game that cannot be started leaves the launcher as it is, silently.
    if (tess::start_game(
            tess::launch_commands(tess::game_executable(), QProcessEnvironment::systemEnvironment(), tess::dxvk_on())))
        close();
}

void MainWindow::open_dscrd_link() { QDesktopServices::openUrl(QUrl(tess::community_invitation())); }

// The cleaning is silent whatever happens: a second press finishes the work.
void MainWindow::clear_trash() { static_cast<void>(tess::clean_game_folder()); }
