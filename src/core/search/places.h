#pragma once

#include <QDir>
#include <QString>

// Where everything the launcher touches lies, from its working directory:
// its own files in ".config" beside it, the game's one level up. The game's
// names are patterns of the wildcard search (letter case ignored).
namespace tess::places {

inline const QString kGameFolder = QStringLiteral("..");
inline const QString kData = QStringLiteral("../Data");
inline const QString kExecutable = QStringLiteral("../wow.exe");
// The archive the running game holds open (the probe's file).
inline const QString kProbe = QStringLiteral("../data/patch-2.mpq");
inline const QString kFonts = QStringLiteral("../fonts");
inline const QString kD3d9 = QStringLiteral("../d3d9.dll");
inline const QString kDxvkConf = QStringLiteral("../dxvk.conf");

inline const QString kConfigDir = QStringLiteral(".config");
inline const QString kSettingsFile = QStringLiteral(".config/mediaplayer.ini");
inline const QString kAudio = QStringLiteral(".config/audio");
inline const QString kArchiveCache = QStringLiteral(".config/archives.cache");
inline const QString kChecksumList = QStringLiteral(".config/archives.sha256");

// A path of the game's as the player finds it from the game folder, in the
// system's separators: "Data/patch-a.mpq" for "../Data/patch-a.mpq".
inline QString from_game_folder(const QString &path)
{
    return QDir::toNativeSeparators(path.startsWith(QLatin1String("../")) ? path.mid(3) : path);
}

}  // namespace tess::places
