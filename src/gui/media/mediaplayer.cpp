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
const QString kSection = QStringLiteral("SETTINGS");
const QString kVolume = QStringLiteral("volume");

QMediaPlayer *player_of(MainWindow *window)
{
    return window->findChild<QMediaPlayer *>(QString(), Qt::FindDirectChildrenOnly);
}
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
    player->setVolume(window->volume->value());
    player->setPlaylist(playlist);
    player->play();
}

void change_volume(MainWindow *window)
{
    QObject::connect(window->volume, &QSlider::valueChanged, window,
                     [window](int) { save_volume(window, player_of(window)); });
    window->volume->setValue(stored_volume(window->mediaplayer_config));
}

void save_volume(MainWindow *window, QMediaPlayer *player)
{
    const int value = window->volume->value();
    window->mediaplayer_config.setValue(kSection, kVolume, QString::number(value));
    if (player)
        player->setVolume(value);
}

}  // namespace tess
