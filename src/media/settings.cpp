#include "app/mainwindow.h"
#include "media/mediaplayer.h"

#include <QFile>

tess::IniSettings MainWindow::mediaplayer_config_init()
{
    const QString path = config_dir + QStringLiteral("/mediaplayer.ini");
    const QString section = QStringLiteral("SETTINGS"), key = QStringLiteral("volume");
    const QString fallback = QString::number(tess::kDefaultVolume);
    if (!QFile::exists(path)) {
        tess::IniSettings defaults;
        defaults.setValue(section, key, fallback);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(defaults.toText());
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A malformed file keeps all it holds for the save, but its volume is not
    // trusted, whichever line broke the file: the default applies.
    tess::IniSettings::ParseResult parsed = tess::IniSettings::parse(file.readAll());
    if (!parsed.error.isEmpty())
        parsed.settings.setValue(section, key, fallback);
    return parsed.settings;
}
