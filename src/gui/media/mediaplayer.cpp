#include "gui/media/mediaplayer.h"

#include "gui/app/mainwindow.h"
#include "core/search/wildcard.h"

#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMediaPlaylist>
#include <QSlider>

namespace tess {

namespace {
QMediaPlayer *player_of(MainWindow *window)
{
    return window->findChild<QMediaPlayer *>(QString(), Qt::FindDirectChildrenOnly);
}
}  // namespace

void play_music(MainWindow *window)
{
    auto *player = new QMediaPlayer(window);
    auto *playlist = new QMediaPlaylist(window);
    for (const QString &path : glob(window->config_dir + QStringLiteral("/audio/*.mp3")))
        playlist->addMedia(QMediaContent(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())));
    playlist->shuffle();
    playlist->setPlaybackMode(QMediaPlaylist::Loop);
    player->setVolume(window->volume->value());
    player->setPlaylist(playlist);
    player->play();
}

void change_volume(MainWindow *window)
{
    QObject::connect(window->volume, &QSlider::valueChanged, window,
                     [window](int) { save_volume(window, player_of(window)); });
    window->volume->setValue(window->mediaplayer_config.volume());
}

void save_volume(MainWindow *window, QMediaPlayer *player)
{
    const int value = window->volume->value();
    window->mediaplayer_config.setVolume(value);
    if (player)
        player->setVolume(value);
}

}  // namespace tess
