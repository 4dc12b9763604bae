#pragma once

#include "config/langfile.h"

#include <QString>

#include <functional>

class MainWindow;
class QComboBox;
class QFrame;
class QLabel;
class QVBoxLayout;

// One row of the option list: a gold title over a read-only combo box.
// Not a widget itself: it builds its widgets and the list takes `frame`.
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
    void update_allpatches_status();
    void perform_allpatches_action(int index);

    // Number of fixed rows built so far in this process.
    static int static_num;

    MainWindow *parent;
    tess::Json actions;
    QString fontsize;
    QString name;
    QString fontfile;
    int fontweight = 500;
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

private:
    void wire_fixed_row();
    // Shows "???" with no item selected.
    void show_unknown();
    friend class DynamicItem;
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

    tess::Json cond;
    QString key;

private:
    // Selects the choice matching the scan, or "???"; false for no match.
    bool show_matching_choice();
    std::vector<tess::Choice> choices_;
};
