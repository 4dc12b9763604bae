#pragma once

#include "core/media/settings_file.h"
#include "core/patches/patches.h"
#include "core/patches/positions.h"
#include "gui/ui/look.h"
#include "gui/ui/ui.h"

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QVector>

#include <nlohmann/json.hpp>

#include <memory>
#include <vector>

class StaticItem;
class QCloseEvent;
namespace tess {
class OptionRows;
}  // namespace tess

// The launcher's one window. It owns all state of the program; each
// subsystem implements its members in its own source file.
class MainWindow : public QMainWindow, public Ui_MainWindow
{
    Q_OBJECT

public:
    // `arguments` are the program's arguments after Qt took its own options.
    explicit MainWindow(const QStringList &arguments);
    ~MainWindow() override;

    void setVisible(bool visible) override;

    QString locale;
    QString config_dir;
    tess::SettingsFile mediaplayer_config;
    tess::PatchStatusMap currentStatus;
    QVector<StaticItem *> patchFrames;
    tess::PositionSequence comboPosGenerator;
    QString localeConfig;
    nlohmann::ordered_json langfile;
    StaticItem *fonts_combo = nullptr;
    StaticItem *dxvk_combo = nullptr;
    StaticItem *all_patches_combo = nullptr;
    // What every row shows and decides, without its widgets; made once the
    // language file is read.
    std::unique_ptr<tess::OptionRows> optionRows;
    QPoint dragpos;

    tess::SettingsFile mediaplayer_config_init();
    void close_window(QCloseEvent *event);
    bool check_game_running();
    void block_all_signals(bool mode);
    void current_status_update();
    static tess::PositionSequence combo_pos_generator();
    tess::GridCell combobox_pos();
    void localization();
    void gui_config();
    void postshow_scroll_config(int value);
    void add_static_items();
    void add_dynamic_items();
    // Every row shows its state; called with the list's signals blocked.
    void show_rows();
    void setup_ui_shadow();

public slots:
    void clear_trash();
    void run_wow_app();
    static void open_dscrd_link();

protected:
    bool eventFilter(QObject *source, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Decoded on a thread of its own while the widgets are built.
    tess::look::ScaledPicture background_;
    int _pagestep = 0;
    bool closeRouted_ = false;
    bool musicStarted_ = false;
    // The rows are plain objects; the window keeps them for its whole life.
    std::vector<std::unique_ptr<StaticItem>> rows_;
};
