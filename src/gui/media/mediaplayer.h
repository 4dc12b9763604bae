#pragma once

#include "core/media/ini.h"

class MainWindow;
class QMediaPlayer;

namespace tess {

// The volume used when the settings hold no usable one.
inline constexpr int kDefaultVolume = 10;

// Starts the shuffled, looping background music of ".config/audio" at the
// volume the slider shows.
void play_music(MainWindow *window);
// Wires the volume slider and applies the stored volume to it; the player,
// started later, follows the slider.
void change_volume(MainWindow *window);
// Keeps the slider's value in memory and applies it to the player, if one
// has been started.
void save_volume(MainWindow *window, QMediaPlayer *player);

// The stored volume, or the default when it is missing or not a number.
int stored_volume(const IniSettings &settings);

}  // namespace tess
