#include "gui/app/mainwindow.h"
#include "gui/patches/items.h"
#include "core/patches/option_rows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>

void StaticItem::show_state(const tess::RowState &state)
{
    if (state.shown < 0)
        show_unknown();
    else
        comboBox->setCurrentIndex(state.shown);
}

void StaticItem::update_fonts_status()
{
    parent->optionRows->read_fonts();
    show_state(parent->optionRows->fonts);
}

void StaticItem::update_dxvk_status()
{
    parent->optionRows->read_dxvk();
    show_state(parent->optionRows->dxvk);
}

void StaticItem::perform_fonts_action(int index)
{
    if (!parent->optionRows->change_fonts(index).acted)
        return;
    const ListSignalBlocker blocked(parent);
    parent->show_rows();
}

void StaticItem::perform_dxvk_action(int index)
{
    if (!parent->optionRows->change_dxvk(index).acted)
        return;
    const ListSignalBlocker blocked(parent);
    parent->show_rows();
}

void StaticItem::show_sign(bool visible)
{
    if (sign)
        sign->setVisible(visible);
}

void StaticItem::construct_warn_sign()
{
    sign = new QLabel(parent->scrollArea_widget);
    const QImage image(QStringLiteral(":/main_window/sign.png"));
    sign->setPixmap(QPixmap::fromImage(image.scaled(11, 30, Qt::KeepAspectRatio)));
    sign->setMaximumHeight(50);
    sign->setAlignment(Qt::AlignBottom);
    parent->gridLayout_3->addWidget(sign, 0, 1);
    sign->hide();
}

void StaticItem::show_allpatches_state()
{
    show_state(parent->optionRows->allpatches);
    show_sign(parent->optionRows->allpatchesSign);
}

void StaticItem::update_allpatches_status()
{
    parent->optionRows->read_allpatches();
    show_allpatches_state();
}

void StaticItem::perform_allpatches_action(int index)
{
    if (!parent->optionRows->change_allpatches(index).acted)
        return;
    const ListSignalBlocker blocked(parent);
    parent->show_rows();
}
