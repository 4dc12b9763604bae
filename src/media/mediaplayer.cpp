#include "media/mediaplayer.h"

#include "app/mainwindow.h"
#include "patches/wildcard.h"

#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMediaPlaylist>
#include <QSlider>

namespace tess {

namespace {
const QString kSection = QStringLiteral("SETTINGS");
const QString kVolume = QStringLiteral("volume");
}  // namespace

int stored_volume(const IniSettings &settings)
{
    bool ok = false;
    const int value = settings.value(kSection, kVolume).value_or(QString()).toInt(&ok, 10);
    return ok ? value : kDefaultVolume;
}

void play_music(MainWindow *window)
{
    auto *player = new QMediaPlayer(window);
    auto *playlist = new QMediaPlaylist(window);
    for (const QString &path : glob(window->config_dir + QStringLiteral("/audio/*.mp3")))
        playlist->addMedia(QMediaContent(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())));
    playlist->shuffle();
    playlist->setPlaybackMode(QMediaPlaylist::Loop);
    player->setPlaylist(playlist);
    player->play();
    change_volume(window, player);
}

void change_volume(MainWindow *window, QMediaPlayer *player)
{
    QObject::connect(window->volume, &QSlider::valueChanged, player,
                     [window, player](int) { save_volume(window, player); });
    window->volume->setValue(stored_volume(window->mediaplayer_config));
}

void save_volume(MainWindow *window, QMediaPlayer *player)
{
    const int value = window->volume->value();
    window->mediaplayer_config.setValue(kSection, kVolume, QString::number(value));
    player->setVolume(value);
}

}  // namespace tess

