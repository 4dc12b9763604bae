#include "gui/app/mainwindow.h"

tess::SettingsFile MainWindow::mediaplayer_config_init()
{
    return tess::SettingsFile::load(config_dir + QStringLiteral("/mediaplayer.ini"));
}
