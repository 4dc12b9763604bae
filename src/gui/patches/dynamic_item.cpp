#include "core/session/session.h"
#include "gui/patches/items.h"

#include <QComboBox>

DynamicItem::DynamicItem(const RowContext &context, const tess::PatchRow &row)
    : StaticItem(context, RowKind::Patch, row.title, row.texts()), key_(row.key)
{
    QObject::connect(comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), comboBox,
                     [this](int i) { perform_action(i); });
}

const tess::PatchRowState *DynamicItem::state() const
{
    for (const tess::PatchRowState *r : session().rows().listed())
        if (r->row.key == key_)
            return r;
    return nullptr;
}

void DynamicItem::show_session_state()
{
    const tess::PatchRowState *row = state();
    if (!row)
        return;
    const tess::RowState &state = row->state;
    show_state(state);
    set_active(state.enabled ? 1 : 0);
    const QString toolTip = tooltip_with_archives(state.toolTip);
    if (comboBox->toolTip() != toolTip)
        comboBox->setToolTip(toolTip);
}

void DynamicItem::perform_action(int index) { (void)session().change_patch(key_, index); }
