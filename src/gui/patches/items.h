#pragma once

#include "core/config/langfile.h"
#include "core/patches/patches.h"

namespace tess {
struct RowState;
struct PatchRowState;
}  // namespace tess

#include <QString>

#include <functional>

class MainWindow;
class QComboBox;
class QFrame;
class QLabel;
class QVBoxLayout;

// One row of the option list: a gold title over a read-only combo box.
// Not a widget itself: it builds its widgets in the list, which places `frame`.
// The first three plain rows built become the fonts, DXVK and all-patches
// rows, in that order.
class StaticItem
{
public:
    StaticItem(MainWindow *parent, const tess::Json &data);
    virtual ~StaticItem();

    StaticItem(const StaticItem &) = delete;
    StaticItem &operator=(const StaticItem &) = delete;

    void construct();
    void configure();
    void set_active(int mode);

    virtual void update_status() {}
    virtual void check_conditions() {}

    // The fixed rows.
    void update_fonts_status();
    void update_dxvk_status();
    void perform_fonts_action(int index);
    void perform_dxvk_action(int index);
    void construct_warn_sign();
    // Only the all-patches row has the warning sign; on any other row these
    // two change nothing but the row itself.
    void update_allpatches_status();
    void perform_allpatches_action(int index);
    // Shows the all-patches state on this row and its sign, as last read.
    void show_allpatches_state();
    // Shows the choice a row's state names.
    void show_state(const tess::RowState &state);

    // Number of fixed rows built so far in this process.
    static int static_num;

    MainWindow *parent;
    tess::Json actions;
    QString fontsize;
    QString name;
    QString fontfile;
    QString fontweight;
    QFrame *frame = nullptr;
    QVBoxLayout *verticalLayout = nullptr;
    QLabel *label = nullptr;
    QComboBox *comboBox = nullptr;
    QLabel *sign = nullptr;

protected:
    enum class Kind { Fixed, PatchRow };
    StaticItem(MainWindow *parent, const tess::Json &data, Kind kind);

    // Connects the combo box's index change to a handler of this row.
    void on_index_changed(std::function<void(int)> handler);
    // Shows "???" with no item selected.
    void show_unknown();

private:
    void wire_fixed_row();
    void show_sign(bool visible);
};

// Blocks the signals of every object below the list for as long as it lives,
// so that rows set from code start no handler; gives them back on every way out.
class [[nodiscard]] ListSignalBlocker
{
public:
    explicit ListSignalBlocker(MainWindow *window);
    ~ListSignalBlocker();
    ListSignalBlocker(const ListSignalBlocker &) = delete;
    ListSignalBlocker &operator=(const ListSignalBlocker &) = delete;

private:
    MainWindow *window_;
};

// The row of one switchable patch: shows which choice its files match,
// switches them, and enforces its conditions on other patches.
class DynamicItem : public StaticItem
{
public:
    DynamicItem(MainWindow *parent, const tess::Json &data, const QString &key);

    tess::StatusPair infolder_status() const;
    void update_status() override;
    void fast_update();
    void check_conditions() override;
    void perform_action(int index);
    // Shows the row's state: its choice, enabled or not, and why not.
    void show_row_state();
    tess::PatchRowState *state() const { return state_; }

    tess::Json cond;
    QString key;

    // The archive check's lines for this patch's files; the sign shows
    // while there are any, and the box's tooltip carries them below its hints.
    void show_archive_problems(const QStringList &lines);
    QString tooltip_with_archives(const QString &hints) const;
    QStringList archiveLines;
    QLabel *archiveSign = nullptr;

private:
    tess::PatchRowState *state_;
};
