#include "gui/app/mainwindow.h"
#include "gui/patches/items.h"
#include "core/patches/option_rows.h"

#include <QComboBox>

DynamicItem::DynamicItem(MainWindow *parent, const tess::Json &data, const QString &key_)
    : StaticItem(parent, data, Kind::PatchRow), cond(data.at("conditions")), key(key_),
      state_(&parent->optionRows->make_patch_row(tess::patch_row(key_, data)))
{
    update_status();
    on_index_changed([this](int i) { perform_action(i); });
}

tess::StatusPair DynamicItem::infolder_status() const { return parent->currentStatus.value(key); }

void DynamicItem::show_row_state()
{
    const tess::RowState &state = state_->state;
    show_state(state);
    set_active(state.enabled ? 1 : 0);
    const QString toolTip = tooltip_with_archives(state.toolTip);
    if (comboBox->toolTip() != toolTip)
        comboBox->setToolTip(toolTip);
}

void DynamicItem::update_status()
{
    parent->optionRows->read_patch_row(*state_);
    show_row_state();
}

void DynamicItem::fast_update()
{
    parent->optionRows->fast_update(*state_);
    show_row_state();
}

void DynamicItem::perform_action(int index)
{
    if (!parent->optionRows->change_patch(*state_, index).acted)
        return;
    const ListSignalBlocker blocked(parent);
    parent->show_rows();
    show_row_state();  // also when this row is not one of the list's
}

void DynamicItem::check_conditions()
{
    parent->optionRows->check_conditions(*state_);
    show_row_state();
}
