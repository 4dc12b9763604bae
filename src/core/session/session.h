#pragma once

#include "core/actions/game.h"
#include "core/config/langfile.h"
#include "core/config/notice_texts.h"
#include "core/media/settings_file.h"
#include "core/patches/archive_check.h"
#include "core/patches/archive_texts.h"
#include "core/patches/option_rows.h"
#include "core/patches/patches.h"
#include "core/patches/rows.h"
#include "core/session/notice.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace tess {

class ArchiveWatch;

// The launcher's state and every operation on it, for the window and the
// command line alike: the language, the language file and its texts, the
// rows (started once), the scan, the settings file, the archive check and
// the running-game probe. It changes things only through its operations and
// tells what changed through its signals; it shows nothing itself.
class Session : public QObject
{
    Q_OBJECT

public:
    // `arguments` come after the program's name; the first, if any, is the
    // language code (else the system's). Scans the game folder.
    explicit Session(const QStringList &arguments, QObject *parent = nullptr);
    ~Session() override;

    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    const QString &locale() const { return locale_; }

    // Chooses the language file for the locale, reads and checks it; false
    // when it cannot be used (logged as the start-up logs it).
    bool load_language();
    const QString &language_file() const { return languagePath_; }    // ".config/config_en.json"
    const QString &language_error() const { return languageError_; }  // why it cannot be used
    // The texts of the buttons EXIT, CLEAR CACHE AND TRASH and RUN.
    QStringList button_texts() const;
    const RowsModel &model() const { return rows_->model(); }
    const ArchiveTexts &archive_texts() const { return archiveTexts_; }
    const NoticeTexts &notice_texts() const { return noticeTexts_; }

    // The rows, read and listed in the window's order: the patch rows, then
    // fonts, DXVK and all patches. A failed condition switches its patch off.
    void start_patch_rows();
    void start_fixed_rows();
    // The same start on a copy of the scan: what the window would show after
    // its start, without renaming anything.
    void start_without_switching();
    const OptionRows &rows() const { return *rows_; }
    const PatchStatusMap &status() const { return status_; }

    // The player's pick on a row and its whole cascade; rowsChanged() after
    // anything was touched.
    ChangeResult change_patch(const QString &key, int index);
    ChangeResult change_fonts(int index);
    ChangeResult change_dxvk(int index);
    ChangeResult change_allpatches(int index);

    // Whether the launcher sits in a game folder ("../wow.exe" or "../Data"
    // exists); when not, every operation on the game refuses, says so and
    // logs it.
    bool in_game_folder() const { return inGameFolder_; }
    // The notice outside a game folder (also logged); nothing inside one.
    std::optional<Notice> game_folder_notice();
    // Whether a click on a row must be refused: outside a game folder, or
    // while the game counts as running (its archive held or missing). A
    // refusal for the game is noticed and logged.
    bool refuse_click();
    // Whether the game counts as running, without a word.
    bool game_running() const;
    // Starts the game, detached; false, noticed and logged, when it could not
    // be started.
    bool launch();
    // Cleans the game's cache, logs and add-on leftovers; what it did, or
    // where it stopped, is noticed and logged.
    RemoveResult clean();
    // Opens the community link in the browser; without one the notice gives
    // the address.
    void open_link(const std::function<bool(const QString &address)> &open);

    // Reads the settings file, made with the default volume when missing.
    void read_settings();
    const IniSettings &settings() const { return settings_.settings(); }
    // The volume the settings hold (the default when they hold none usable).
    int volume() const;
    void set_volume(int volume);
    // Writes the settings file at the close, unless it is one that could not
    // be kept whole.
    void save_settings();

    // The check of every patch archive on a thread of its own; its problems
    // come back through archiveProblems().
    void start_archive_check();

signals:
    void rowsChanged();
    // A failure, or what the cleaning did, for the player to read.
    void noticed(const tess::Notice &notice);
    // The files a row's change could not rename, for its warning sign; an
    // empty text once a change on it went through. `row` is a patch letter,
    // or "fonts", "dxvk", "allpatches".
    void rowFailed(const QString &row, const QString &text);
    // The archive check's lines for one listed patch row (empty: sound).
    void archiveProblems(const QString &letter, const QStringList &lines);
    void volumeChanged(int volume);

private:
    ChangeResult changed(const QString &row, ChangeResult result);
    void notice(Notice::Kind kind, const QString &text);
    void show_archive_report(const ArchiveReport &report);

    QString locale_;
    QString languagePath_;
    QString languageError_;
    Json langfile_;
    ArchiveTexts archiveTexts_;
    NoticeTexts noticeTexts_;
    bool inGameFolder_ = true;
    PatchStatusMap status_;
    std::unique_ptr<OptionRows> rows_;
    SettingsFile settings_;
    ArchiveWatch *archiveWatch_ = nullptr;
};

}  // namespace tess
