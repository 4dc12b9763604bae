#pragma once

#include "core/patches/positions.h"
#include "gui/ui/look.h"
#include "gui/ui/ui.h"

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

enum class RowKind;
class DynamicItem;
class StaticItem;
class QCloseEvent;
namespace tess {
class MusicPlayer;
class Session;
struct Notice;
}  // namespace tess

// The launcher's one window: a view of its session. It builds the widgets,
// shows what the session holds whenever it changes, and turns clicks into
// the session's operations.
class MainWindow : public QMainWindow, public Ui_MainWindow
{
    Q_OBJECT

public:
    // `arguments` are the program's arguments after Qt took its own options
    // and without the program's name. Throws UnusableLanguageFile, logged,
    // when the language file cannot be used.
    explicit MainWindow(const QStringList &arguments);
    ~MainWindow() override;

    void setVisible(bool visible) override;

    tess::Session &session() const { return *session_; }
    // The rows that follow every change: the patch rows in the language
    // file's order, then the fonts and DXVK rows.
    const QVector<StaticItem *> &patchFrames() const { return patchFrames_; }
    StaticItem *fixed_row(RowKind kind) const;  // fonts, DXVK or all patches
    DynamicItem *patch_row(const QString &key) const;

    // Sizes the scroll column once the list is laid out: `value` is the
    // scroll bar's maximum.
    void postshow_scroll_config(int value);

protected:
    bool eventFilter(QObject *source, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void localization();
    void gui_config();
    void setup_ui_shadow();
    void add_dynamic_items();
    void add_static_items();
    // Every row shows its state, with the list's signals blocked.
    void show_rows();
    void show_archive_problems(const QString &letter, const QStringList &lines);
    // The failed renames of the last change on the row that made it; every
    // other row's sign of an earlier failure goes.
    void show_row_failure(const QString &row, const QString &text);
    // Outside a game folder every row shows switched off.
    void lock_rows();
    void show_notice(const tess::Notice &shown);
    void clear_trash();
    void run_wow_app();
    void open_dscrd_link();

    std::unique_ptr<tess::Session> session_;
    // Decoded on a thread of its own while the widgets are built.
    tess::look::ScaledPicture background_;
    tess::PositionSequence comboPosGenerator_;
    // The rows are plain objects; the window keeps them for its whole life.
    std::vector<std::unique_ptr<StaticItem>> rows_;
    QVector<StaticItem *> patchFrames_;
    StaticItem *fixedRows_[3] = {};  // fonts, DXVK, all patches
    tess::MusicPlayer *music_ = nullptr;
    QPoint dragpos_;
    int pagestep_ = 0;
    bool closeRouted_ = false;
    bool musicStarted_ = false;
};
