#include "gui/app/mainwindow.h"
#include "system/system.h"
#include "gui/media/mediaplayer.h"

#include <QFile>

tess::IniSettings MainWindow::mediaplayer_config_init()
{
    const QString path = config_dir + QStringLiteral("/mediaplayer.ini");
    const QString section = QStringLiteral("SETTINGS"), key = QStringLiteral("volume");
    const QString fallback = QString::number(tess::kDefaultVolume);
    tess::ReadResult read = tess::read_regular_file(path, tess::kMaxSettingsFileBytes);
    if (read.fault == tess::ReadResult::Fault::Missing) {
        tess::IniSettings defaults;
        defaults.setValue(section, key, fallback);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(defaults.toText());
        read = tess::read_regular_file(path, tess::kMaxSettingsFileBytes);
    }
    // A file that is not a regular one, or too large to be kept whole, is a
    // fault, and stays as it is at the close: its content could not be kept.
    keep_mediaplayer_file =
        read.fault == tess::ReadResult::Fault::NotRegular || read.fault == tess::ReadResult::Fault::TooLarge;
    if (read.fault != tess::ReadResult::Fault::None)
        return {};  // the default volume applies
    // A malformed file keeps all it holds for the save, but its volume is not
    // trusted, whichever line broke the file: the default applies.
    tess::IniSettings::ParseResult parsed = tess::IniSettings::parse(read.bytes);
    if (!parsed.error.isEmpty())
        parsed.settings.setValue(section, key, fallback);
    return parsed.settings;
}
