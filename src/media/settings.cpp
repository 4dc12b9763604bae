#include "app/mainwindow.h"

#include <QFile>

tess::IniSettings MainWindow::mediaplayer_config_init()
{
    const QString path = config_dir + QStringLiteral("/mediaplayer.ini");
    if (!QFile::exists(path)) {
        tess::IniSettings defaults;
        defaults.setValue(QStringLiteral("SETTINGS"), QStringLiteral("volume"), QStringLiteral("10"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(defaults.toText());
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A malformed file keeps what could be read before the fault.
    return tess::IniSettings::parse(file.readAll()).settings;
}
