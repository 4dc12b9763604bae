#include "core/media/settings_file.h"

#include "core/search/own_files.h"

namespace tess {

namespace {

const QString kSection = QStringLiteral("SETTINGS");
const QString kVolume = QStringLiteral("volume");

QString describe(const ReadResult &read)
{
    switch (read.fault) {
    case ReadResult::Fault::None: return {};
    case ReadResult::Fault::Missing: return QStringLiteral("missing");
    case ReadResult::Fault::NotRegular: return QStringLiteral("not a regular file");
    case ReadResult::Fault::TooLarge: return QStringLiteral("larger than %1 bytes").arg(kMaxSettingsFileBytes);
    case ReadResult::Fault::Unreadable: return read.error;
    case ReadResult::Fault::Outside:
        return QStringLiteral("a link to a file outside the program's folder: ") + read.error;
    }
    return {};
}

}  // namespace

SettingsFile SettingsFile::load(const QString &path)
{
    SettingsFile file;
    ReadResult read = read_own_file(path, kMaxSettingsFileBytes);
    if (read.fault == ReadResult::Fault::Missing) {
        IniSettings defaults;
        defaults.setValue(kSection, kVolume, QString::number(kDefaultVolume));
        static_cast<void>(replace_file(path, defaults.toText()));
        read = read_own_file(path, kMaxSettingsFileBytes);
    }
    file.fault_ = describe(read);
    // Content that could not be kept whole stays on disk as it is.
    file.keep_ = read.fault == ReadResult::Fault::NotRegular || read.fault == ReadResult::Fault::TooLarge;
    if (read.fault != ReadResult::Fault::None) {
        file.setVolume(kDefaultVolume);
        return file;
    }
    IniSettings::ParseResult parsed = IniSettings::parse(read.bytes);
    file.fault_ = parsed.error;
    file.settings_ = std::move(parsed.settings);
    // Other faults leave the volume alone: kept at the save, they would
    // otherwise cost it at every start.
    if (!file.settings_.isSole(kSection, kVolume))
        file.setVolume(kDefaultVolume);
    return file;
}

int SettingsFile::volume() const
{
    bool ok = false;
    const int value = settings_.value(kSection, kVolume).value_or(QString()).toInt(&ok, 10);
    return ok ? value : kDefaultVolume;
}

void SettingsFile::setVolume(int volume) { settings_.setValue(kSection, kVolume, QString::number(volume)); }

SettingsSave SettingsFile::save(const QString &path) const
{
    if (keep_)
        return {};
    IniSettings sound = settings_.withSole(kSection, kVolume);
    const std::optional<QString> value = settings_.value(kSection, kVolume);
    if (value && sound.value(kSection, kVolume) != value)
        sound.setValue(kSection, kVolume, *value);
    const WriteResult written = replace_file(path, sound.toText());
    return {written.ok, written.ok ? QString() : written.text};
}

}  // namespace tess
