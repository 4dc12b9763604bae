#pragma once

#include "core/media/settings_file.h"

class MainWindow;
class QMediaPlayer;

namespace tess {

// Starts the shuffled, looping background music of ".config/audio" at the
// volume the slider shows.
void play_music(MainWindow *window);
// Wires the volume slider and applies the stored volume to it; the player,
// started later, follows the slider.
void change_volume(MainWindow *window);
// Keeps the slider's value in memory and applies it to the player, if one
// has been started.
void save_volume(MainWindow *window, QMediaPlayer *player);

}  // namespace tess
