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
#include <QFileInfo>
#include <QProcessEnvironment>

namespace tess {

Session::Session(const QStringList &arguments, QObject *parent) : QObject(parent), locale_(language_code(arguments))
{
    log().debug(QStringLiteral("Выбран языковой пакет: ") + locale_);
    inGameFolder_ = tess::in_game_folder();
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
    noticeTexts_ = tess::notice_texts(langfile_);
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

void Session::notice(Notice::Kind kind, const QString &text) { emit noticed(Notice{kind, text}); }

ChangeResult Session::changed(const QString &row, ChangeResult result)
{
    if (!result.acted)
        return result;
    QStringList lines;
    for (const RenameFailure &failure : result.failures) {
        const QString file = places::from_game_folder(failure.path);
        log().warning(QStringLiteral("Не удалось переименовать файл: ") + file + QStringLiteral(" — ")
                      + system_message(failure.error));
        lines << noticeTexts_.switchFailed.arg(file,
                                               reason_text(noticeTexts_, failure_reason(failure.error), failure.error));
    }
    if (!lines.isEmpty() && under_program_folders(places::kGameFolder))
        lines << noticeTexts_.adminHint;
    emit rowsChanged();
    emit rowFailed(row, lines.join(QLatin1Char('\n')));
    if (!lines.isEmpty())
        notice(Notice::Kind::SwitchFailed, lines.join(QLatin1Char('\n')));
    return result;
}

ChangeResult Session::change_patch(const QString &key, int index)
{
    PatchRowState *row = rows_->patch_row(key);
    if (!row)
        return {};
    return changed(key, rows_->change_patch(*row, index));
}

ChangeResult Session::change_fonts(int index) { return changed(QStringLiteral("fonts"), rows_->change_fonts(index)); }

ChangeResult Session::change_dxvk(int index) { return changed(QStringLiteral("dxvk"), rows_->change_dxvk(index)); }

ChangeResult Session::change_allpatches(int index)
{
    return changed(QStringLiteral("allpatches"), rows_->change_allpatches(index));
}

std::optional<Notice> Session::game_folder_notice()
{
    if (inGameFolder_)
        return std::nullopt;
    const QString folder = QDir::toNativeSeparators(QDir(places::kGameFolder).absolutePath());
    log().warning(QStringLiteral("Папка игры не найдена: нет wow.exe и Data в ") + folder);
    return Notice{Notice::Kind::NotGameFolder, noticeTexts_.notGameFolder.arg(folder)};
}

bool Session::game_running() const { return game_holds_archive(); }

bool Session::refuse_click()
{
    if (!inGameFolder_)
        return true;  // the lasting notice says why
    switch (probe_game()) {
    case GameProbe::NotRunning: return false;
    case GameProbe::Running:
        log().warning(QStringLiteral("Действие отклонено: игра запущена"));
        notice(Notice::Kind::GameRunning, noticeTexts_.gameRunning);
        return true;
    case GameProbe::ProbeMissing:
        log().warning(QStringLiteral("Действие отклонено: нет файла ") + places::from_game_folder(places::kProbe));
        notice(Notice::Kind::ProbeMissing, noticeTexts_.probeMissing);
        return true;
    }
    return true;
}

bool Session::launch()
{
    if (!inGameFolder_) {
        if (std::optional<Notice> n = game_folder_notice())
            emit noticed(*n);
        return false;
    }
    const LaunchResult result =
        start_game(launch_commands(game_executable(), QProcessEnvironment::systemEnvironment(), dxvk_on()));
    if (result)
        return true;
    QString why;
    switch (result.why) {
    case LaunchResult::Why::Missing: why = noticeTexts_.missing; break;
    case LaunchResult::Why::NoWine: why = noticeTexts_.noWine; break;
    case LaunchResult::Why::System:
    case LaunchResult::Why::None: why = result.message; break;
    }
    const QString program = places::from_game_folder(result.program);
    log().warning(QStringLiteral("Не удалось запустить игру: ") + program + QStringLiteral(" — ") + why);
    notice(Notice::Kind::LaunchFailed, noticeTexts_.launchFailed.arg(program, why));
    return false;
}

RemoveResult Session::clean()
{
    if (!inGameFolder_) {
        if (std::optional<Notice> n = game_folder_notice())
            emit noticed(*n);
        return {};
    }
    RemoveResult result = clean_game_folder();
    const QLocale language = file_language(QFileInfo(languagePath_).fileName());
    const QString freed = size_text(result.bytes, language);
    const QString files = count_text(result.files, language);
    if (result.complete()) {
        log().info(QStringLiteral("Очистка завершена: освобождено ") + size_text(result.bytes, QLocale::c())
                   + QStringLiteral(", файлов: ") + QString::number(result.files));
        notice(Notice::Kind::Cleaned, noticeTexts_.cleaned.arg(freed, files));
        return result;
    }
    QStringList left;
    for (const LeftEntry &entry : result.left)
        left << QDir::toNativeSeparators(entry.path) + QStringLiteral(": ") + system_message(entry.error);
    log().warning(QStringLiteral("Очистка не завершена, оставлено: ") + left.join(QStringLiteral("; "))
                  + QStringLiteral("; освобождено ") + size_text(result.bytes, QLocale::c())
                  + QStringLiteral(", файлов: ") + QString::number(result.files));
    const LeftEntry &first = result.left.first();
    notice(Notice::Kind::CleanStopped,
           noticeTexts_.cleanStopped.arg(QDir::toNativeSeparators(first.path),
                                         reason_text(noticeTexts_, failure_reason(first.error), first.error)));
    return result;
}

void Session::open_link(const std::function<bool(const QString &address)> &open)
{
    const QString address = community_invitation();
    if (open(address))
        return;
    log().warning(QStringLiteral("Не удалось открыть ссылку: ") + address);
    notice(Notice::Kind::LinkFailed, noticeTexts_.linkFailed.arg(address));
}

void Session::read_settings() { settings_ = SettingsFile::load(places::kSettingsFile); }

int Session::volume() const { return settings_.volume(); }

void Session::set_volume(int volume)
{
    settings_.setVolume(volume);
    emit volumeChanged(volume);
}

void Session::save_settings()
{
    // A save that fails or is not made goes unsaid.
    if (settings_.save(places::kSettingsFile).written)
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
