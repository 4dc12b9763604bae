#pragma once

#include <QObject>

class QMediaPlayer;

namespace tess {

// The background music: every track of ".config/audio", shuffled, in a
// loop, from the moment it is made.
class MusicPlayer : public QObject
{
    Q_OBJECT

public:
    MusicPlayer(int volume, QObject *parent);
    void set_volume(int volume);

private:
    QMediaPlayer *player_;
};

}  // namespace tess
