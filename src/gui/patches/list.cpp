#include "gui/app/mainwindow.h"
#include "gui/patches/items.h"
#include "core/patches/option_rows.h"

#include <QGridLayout>
#include <QScrollArea>

namespace {

void block_tree(QObject *object, bool mode)
{
    for (QObject *child : object->children()) {
        child->blockSignals(mode);
        block_tree(child, mode);
    }
}

}  // namespace

tess::PositionSequence MainWindow::combo_pos_generator() { return tess::PositionSequence(); }

tess::GridCell MainWindow::combobox_pos() { return comboPosGenerator.next(); }

void MainWindow::current_status_update() { currentStatus = tess::get_status(); }

void MainWindow::block_all_signals(bool mode) { block_tree(scrollArea, mode); }

ListSignalBlocker::ListSignalBlocker(MainWindow *window) : window_(window) { window_->block_all_signals(true); }

ListSignalBlocker::~ListSignalBlocker() { window_->block_all_signals(false); }

void MainWindow::add_dynamic_items()
{
    const tess::Json &dynamic = langfile["patches"]["dynamic"];
    // The model holds the entries that get a row, in document order.
    for (const tess::PatchRow &patch : optionRows->model().patches) {
        auto row = std::make_unique<DynamicItem>(this, dynamic.at(patch.key.toStdString()), patch.key);
        const tess::GridCell cell = combobox_pos();
        gridLayout_3->addWidget(row->frame, cell.row, cell.column);
        patchFrames.push_back(row.get());
        optionRows->list_patch_row(*row->state());
        rows_.push_back(std::move(row));
    }
}

void MainWindow::show_rows()
{
    for (StaticItem *row : patchFrames)
        if (auto *patch = dynamic_cast<DynamicItem *>(row))
            patch->show_row_state();
    fonts_combo->show_state(optionRows->fonts);
    dxvk_combo->show_state(optionRows->dxvk);
    all_patches_combo->show_allpatches_state();
}

void MainWindow::add_static_items()
{
    const tess::Json &fixed = langfile["patches"]["static"];
    const auto add = [this, &fixed](const char *member, int row, int column) {
        auto item = std::make_unique<StaticItem>(this, fixed.at(member));
        gridLayout_3->addWidget(item->frame, row, column);
        StaticItem *raw = item.get();
        rows_.push_back(std::move(item));
        return raw;
    };
    fonts_combo = add("fonts", 1, 0);
    patchFrames.push_back(fonts_combo);
    dxvk_combo = add("dxvk", 1, 1);
    patchFrames.push_back(dxvk_combo);
    all_patches_combo = add("allpatches", 0, 0);
}
