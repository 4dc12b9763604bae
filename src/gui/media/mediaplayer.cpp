#include "gui/media/mediaplayer.h"

#include "core/search/places.h"
#include "core/search/wildcard.h"

#include <QFileInfo>
#include <QMediaPlayer>
#include <QMediaPlaylist>

namespace tess {

MusicPlayer::MusicPlayer(int volume, QObject *parent) : QObject(parent)
{
    // Both are the window's own, as before the player existed as an object of its own.
    player_ = new QMediaPlayer(parent);
    auto *playlist = new QMediaPlaylist(parent);
    for (const QString &path : glob(places::kAudio + QStringLiteral("/*.mp3")))
        playlist->addMedia(QMediaContent(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())));
    playlist->shuffle();
    playlist->setPlaybackMode(QMediaPlaylist::Loop);
    player_->setVolume(volume);
    player_->setPlaylist(playlist);
    player_->play();
}

void MusicPlayer::set_volume(int volume) { player_->setVolume(volume); }

}  // namespace tess
