#pragma once

#include "core/media/ini.h"

#include <QString>

namespace tess {

// The volume used when the settings hold no usable one.
inline constexpr int kDefaultVolume = 10;

// What a save did: written, left as it is on purpose (`error` empty), or
// failed (`error` says why).
struct [[nodiscard]] SettingsSave {
    bool written = false;
    QString error;
};

// The music settings file, `mediaplayer.ini`: its text as read, the volume
// in force, and whether the file may be written back.
class SettingsFile
{
public:
    // Reads the file (bounded, past a byte order mark, through a link only
    // when it leads to a file inside the program's folder); a missing file
    // is first created with the default volume. A volume that readers could
    // take differently (its section or key given twice, a volume line before
    // any section), that is missing or that is not a number gives the
    // default, and so does a file that cannot be read.
    static SettingsFile load(const QString &path);

    int volume() const;
    // In memory only.
    void setVolume(int volume);
    // Writes the settings back by replacing the file, so that they read back
    // sound: one section, one volume line, the volume as set; every other
    // line as it was read. A file that was not a regular one, or too large
    // to be kept whole, is left as it is.
    SettingsSave save(const QString &path) const;

    const IniSettings &settings() const { return settings_; }
    // What was wrong with the file as read; empty when nothing was.
    const QString &fault() const { return fault_; }

private:
    IniSettings settings_;
    QString fault_;
    bool keep_ = false;
};

}  // namespace tess
