#include "app/log.h"
#include "app/mainwindow.h"
#include "patches/items.h"
#include "patches/wildcard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <algorithm>

using tess::log;

namespace {

bool present(const QString &pattern) { return !tess::glob(pattern).isEmpty(); }

QVector<DynamicItem *> patch_rows(const QVector<StaticItem *> &rows)
{
    QVector<DynamicItem *> result;
    for (StaticItem *row : rows)
        if (auto *patch = dynamic_cast<DynamicItem *>(row))
            result.push_back(patch);
    return result;
}

bool went_wrong(const tess::SwitchResult &r) { return !r.completed || !r.occupied.isEmpty(); }

void log_change(const QString &name)
{
    log().debug(QStringLiteral("Изменено состояние для: '") + name + QStringLiteral("'"));
}

}  // namespace

void StaticItem::update_fonts_status()
{
    comboBox->setCurrentIndex(present(QStringLiteral("../fonts/*.ttf")) ? 0 : 1);
    log().debug(QStringLiteral("Статус для фрейма 'Шрифты' обновлен: ") + comboBox->currentText());
}

void StaticItem::update_dxvk_status()
{
    const bool dll = present(QStringLiteral("../d3d9.dll"));
    const bool conf = present(QStringLiteral("../dxvk.conf"));
    comboBox->setCurrentIndex(dll ? (conf ? 0 : 1) : 2);
    log().debug(QStringLiteral("Статус для фрейма 'DXVK' обновлен: ") + comboBox->currentText());
}

void StaticItem::perform_file_action(int index, tess::SwitchResult (*switcher)(int), void (StaticItem::*refresh)())
{
    log_change(name);
    if (index < 0)
        return;
    // Whatever the switch managed, the row shows the disk afterwards.
    static_cast<void>(switcher(index));
    const ListSignalBlocker blocked(parent);
    (this->*refresh)();
    parent->all_patches_combo->update_allpatches_status();
}

void StaticItem::perform_fonts_action(int index)
{
    perform_file_action(index, tess::switch_fonts_status, &StaticItem::update_fonts_status);
}

void StaticItem::perform_dxvk_action(int index)
{
    perform_file_action(index, tess::switch_dxvk_status, &StaticItem::update_dxvk_status);
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

void StaticItem::update_allpatches_status()
{
    const QVector<DynamicItem *> rows = patch_rows(parent->patchFrames);
    const auto every = [&rows](auto test) { return std::all_of(rows.begin(), rows.end(), test); };
    int mode = 1;
    if (every([](DynamicItem *r) { return r->comboBox->currentIndex() == 0; })) {
        mode = 0;
    } else if (every([](DynamicItem *r) { return r->comboBox->currentIndex() == r->comboBox->count() - 1; })) {
        mode = 2;
    } else {
        for (const tess::DefaultTriple &t : tess::default_triples(parent->langfile["patches"]["static"]["default"])) {
            if (parent->currentStatus.value(t.letter) != tess::StatusPair{t.data, t.locale}) {
                show_unknown();
                log().warning(QStringLiteral("Статус для фрейма 'Все патчи' имеет пользовательское значение"));
                show_sign(true);
                return;
            }
        }
    }
    comboBox->setCurrentIndex(mode);
    show_sign(false);
    log().debug(QStringLiteral("Статус для фрейма 'Все патчи' обновлен: ") + comboBox->currentText());
}

void StaticItem::perform_allpatches_action(int index)
{
    log_change(name);
    // No selection is no choice: nothing may be renamed for it.
    if (index < 0)
        return;
    const ListSignalBlocker blocked(parent);
    const QVector<DynamicItem *> rows = patch_rows(parent->patchFrames);
    bool failed = false;
    const auto track = [&failed](const tess::SwitchResult &r) { failed = failed || went_wrong(r); };
    if (index == 0) {
        for (DynamicItem *row : rows)
            track(tess::set_patch_status(row->key, {1, 1}));
        track(tess::switch_fonts_status(0));
        track(tess::switch_dxvk_status(0));
    } else if (index == 2) {
        for (DynamicItem *row : rows)
            track(tess::set_patch_status(row->key, {0, 0}));
        track(tess::switch_fonts_status(1));
        track(tess::switch_dxvk_status(2));
    } else {
        for (const tess::DefaultTriple &t : tess::default_triples(parent->langfile["patches"]["static"]["default"]))
            track(tess::set_patch_status(t.letter, {t.data, t.locale}));
        track(tess::switch_fonts_status(1));
        track(tess::switch_dxvk_status(2));
    }
    parent->current_status_update();
    for (StaticItem *row : parent->patchFrames)
        row->update_status();
    parent->fonts_combo->update_fonts_status();
    parent->dxvk_combo->update_dxvk_status();
    show_sign(false);
    // The row keeps the user's choice, unless the files did not follow it:
    // then it shows what the disk holds.
    if (failed)
        update_allpatches_status();
}
