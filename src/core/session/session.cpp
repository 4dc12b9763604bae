#include "core/session/session.h"

#include "core/actions/cleaning.h"
#include "core/actions/game.h"
#include "core/config/loading.h"
#include "core/config/selection.h"
#include "core/search/places.h"
#include "core/session/archive_watch.h"
#include "log/log.h"
#include "system/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSaveFile>

namespace tess {

namespace {

const QString kSection = QStringLiteral("SETTINGS");
const QString kVolume = QStringLiteral("volume");
// The volume used when the settings hold no usable one.
constexpr int kDefaultVolume = 10;

}  // namespace

Session::Session(const QStringList &arguments, QObject *parent)
    : QObject(parent), locale_(language_code(arguments))
{
    log().debug(QStringLiteral("Выбран языковой пакет: ") + locale_);
    status_ = get_status();
    rows_ = std::make_unique<OptionRows>(status_, RowsModel());
}

Session::~Session() = default;

bool Session::load_language()
{
    LoadedLanguageFile loaded = load_language_file(places::kConfigDir, locale_);
    languagePath_ = loaded.path;
    languageError_ = loaded.file.error;
    if (!languageError_.isEmpty())
        return false;
    langfile_ = std::move(loaded.file.doc);
    archiveTexts_ = tess::archive_texts(langfile_);
    rows_ = std::make_unique<OptionRows>(status_, rows_model(langfile_));
    return true;
}

QStringList Session::button_texts() const
{
    QStringList texts;
    for (const Json &text : langfile_.value("buttons", Json::array()))
        texts << to_qstring(text);
    return texts;
}

void Session::start_patch_rows() { rows_->start_patch_rows(); }

void Session::start_fixed_rows() { rows_->start_fixed_rows(); }

void Session::start_without_switching()
{
    rows_ = std::make_unique<OptionRows>(status_, rows_->model(), OptionRows::Disk::Simulated);
    rows_->start();
}

ChangeResult Session::changed(ChangeResult result)
{
    if (result.acted)
        emit rowsChanged();
    return result;
}

ChangeResult Session::change_patch(const QString &key, int index)
{
    PatchRowState *row = rows_->patch_row(key);
    if (!row)
        return {};
    return changed(rows_->change_patch(*row, index));
}

ChangeResult Session::change_fonts(int index) { return changed(rows_->change_fonts(index)); }

ChangeResult Session::change_dxvk(int index) { return changed(rows_->change_dxvk(index)); }

ChangeResult Session::change_allpatches(int index) { return changed(rows_->change_allpatches(index)); }

bool Session::game_running() const { return game_holds_archive(); }

bool Session::launch() const
{
    return start_game(launch_commands(game_executable(), QProcessEnvironment::systemEnvironment(), dxvk_on()));
}

RemoveResult Session::clean() const { return clean_game_folder(); }

void Session::read_settings()
{
    const QString &path = places::kSettingsFile;
    const QString fallback = QString::number(kDefaultVolume);
    ReadResult read = read_regular_file(path, kMaxSettingsFileBytes);
    if (read.fault == ReadResult::Fault::Missing) {
        IniSettings defaults;
        defaults.setValue(kSection, kVolume, fallback);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(defaults.toText());
        read = read_regular_file(path, kMaxSettingsFileBytes);
    }
    // A file that is not a regular one, or too large to be kept whole, is a
    // fault, and stays as it is at the close: its content could not be kept.
    keepSettingsFile_ = read.fault == ReadResult::Fault::NotRegular || read.fault == ReadResult::Fault::TooLarge;
    if (read.fault != ReadResult::Fault::None)
        return;  // the default volume applies
    // A malformed file keeps all it holds for the save, but its volume is not
    // trusted, whichever line broke the file: the default applies.
    IniSettings::ParseResult parsed = IniSettings::parse(read.bytes);
    if (!parsed.error.isEmpty())
        parsed.settings.setValue(kSection, kVolume, fallback);
    settings_ = std::move(parsed.settings);
}

int Session::volume() const
{
    bool ok = false;
    const int value = settings_.value(kSection, kVolume).value_or(QString()).toInt(&ok, 10);
    return ok ? value : kDefaultVolume;
}

void Session::set_volume(int volume)
{
    settings_.setValue(kSection, kVolume, QString::number(volume));
    emit volumeChanged(volume);
}

void Session::save_settings()
{
    if (keepSettingsFile_)
        return;
    // Written atomically: a failed save leaves the previous file whole.
    QSaveFile file(places::kSettingsFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(settings_.toText()) < 0 || !file.commit())
        return;
    log().info(QStringLiteral("Конфигурация медиаплеера сохранена"));
}

void Session::start_archive_check()
{
    if (archiveWatch_)
        return;
    archiveWatch_ = new ArchiveWatch(this);
    connect(archiveWatch_, &ArchiveWatch::checked, this, &Session::show_archive_report, Qt::QueuedConnection);
    archiveWatch_->start();
}

void Session::show_archive_report(const ArchiveReport &report)
{
    QMap<QString, QStringList> lines;
    for (const ArchiveResult &r : report.results) {
        if (r.check.sound())
            continue;
        const QString reason = describe(r.check, archiveTexts_);
        log().warning(QStringLiteral("Архив патча неисправен: ") + QDir::toNativeSeparators(r.path)
                      + QStringLiteral(" — ") + reason);
        lines[r.letter] << r.path.section(QLatin1Char('/'), -1) + QStringLiteral(": ") + reason;
    }
    for (const PatchRowState *row : rows_->listed())
        emit archiveProblems(row->row.key, lines.value(row->row.key));
    log().debug(
        QStringLiteral("Архивы патчей проверены: %1 за %2 мс").arg(report.results.size()).arg(report.milliseconds));
}

}  // namespace tess
