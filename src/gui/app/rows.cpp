#include "core/session/session.h"
#include "gui/app/mainwindow.h"
#include "gui/patches/items.h"

#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
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

ListSignalBlocker::ListSignalBlocker(QObject *list) : list_(list) { block_tree(list_, true); }

ListSignalBlocker::~ListSignalBlocker() { block_tree(list_, false); }

StaticItem *MainWindow::fixed_row(RowKind kind) const
{
    switch (kind) {
    case RowKind::Fonts: return fixedRows_[0];
    case RowKind::Dxvk: return fixedRows_[1];
    case RowKind::AllPatches: return fixedRows_[2];
    case RowKind::Patch: break;
    }
    return nullptr;
}

DynamicItem *MainWindow::patch_row(const QString &key) const
{
    for (StaticItem *row : patchFrames_)
        if (auto *patch = dynamic_cast<DynamicItem *>(row); patch && patch->key() == key)
            return patch;
    return nullptr;
}

void MainWindow::add_dynamic_items()
{
    session_->start_patch_rows();
    const RowContext context{session_.get(), scrollArea_widget, this, session_->locale()};
    for (const tess::PatchRow &patch : session_->model().patches) {
        auto row = std::make_unique<DynamicItem>(context, patch);
        row->show_first_state();
        const tess::GridCell cell = comboPosGenerator_.next();
        gridLayout_3->addWidget(row->frame, cell.row, cell.column);
        patchFrames_.push_back(row.get());
        rows_.push_back(std::move(row));
    }
}

void MainWindow::add_static_items()
{
    session_->start_fixed_rows();
    const RowContext context{session_.get(), scrollArea_widget, this, session_->locale()};
    const tess::RowsModel &model = session_->model();
    const auto add = [&](RowKind kind, const tess::FixedRow &fixed, int row, int column) {
        auto item = std::make_unique<StaticItem>(context, kind, fixed.title, fixed.choices);
        gridLayout_3->addWidget(item->frame, row, column);
        StaticItem *raw = item.get();
        rows_.push_back(std::move(item));
        return raw;
    };
    fixedRows_[0] = add(RowKind::Fonts, model.fonts, 1, 0);
    patchFrames_.push_back(fixedRows_[0]);
    fixedRows_[1] = add(RowKind::Dxvk, model.dxvk, 1, 1);
    patchFrames_.push_back(fixedRows_[1]);
    StaticItem *all = fixedRows_[2] = add(RowKind::AllPatches, model.allpatches, 0, 0);
    // The warning sign of a custom mix, beside the all-patches row.
    all->sign = new QLabel(scrollArea_widget);
    const QImage image(QStringLiteral(":/main_window/sign.png"));
    all->sign->setPixmap(QPixmap::fromImage(image.scaled(11, 30, Qt::KeepAspectRatio)));
    all->sign->setMaximumHeight(50);
    all->sign->setAlignment(Qt::AlignBottom);
    gridLayout_3->addWidget(all->sign, 0, 1);
    all->sign->hide();
    for (StaticItem *fixed : fixedRows_)
        fixed->show_first_state();
}

void MainWindow::show_rows()
{
    const ListSignalBlocker blocked(scrollArea);
    for (StaticItem *row : patchFrames_)
        row->show_first_state();
    fixedRows_[2]->show_session_state();
}

void MainWindow::show_row_failure(const QString &row, const QString &text)
{
    const auto named = [this](const QString &name) -> StaticItem * {
        if (name == QLatin1String("fonts"))
            return fixed_row(RowKind::Fonts);
        if (name == QLatin1String("dxvk"))
            return fixed_row(RowKind::Dxvk);
        if (name == QLatin1String("allpatches"))
            return fixed_row(RowKind::AllPatches);
        return patch_row(name);
    };
    StaticItem *failed = named(row);
    for (const std::unique_ptr<StaticItem> &item : rows_)
        item->show_failure(item.get() == failed ? text : QString());
}

void MainWindow::lock_rows()
{
    for (const std::unique_ptr<StaticItem> &item : rows_)
        item->set_active(0);
}

void MainWindow::show_archive_problems(const QString &letter, const QStringList &lines)
{
    if (DynamicItem *row = patch_row(letter))
        row->show_archive_problems(lines);
}
