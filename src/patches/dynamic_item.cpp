#include "app/log.h"
#include "app/mainwindow.h"
#include "patches/items.h"

#include <QComboBox>

using tess::log;

DynamicItem::DynamicItem(MainWindow *parent, const tess::Json &data, const QString &key_)
    : StaticItem(parent, data, Kind::PatchRow), cond(data.at("conditions")), key(key_),
      choices_(tess::patch_choices(actions))
{
    update_status();
    on_index_changed([this](int i) { perform_action(i); });
}

tess::StatusPair DynamicItem::infolder_status() const { return parent->currentStatus.value(key); }

bool DynamicItem::show_matching_choice()
{
    const tess::StatusPair now = infolder_status();
    const std::vector<int> wanted(now.begin(), now.end());
    for (size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].status == wanted) {
            comboBox->setCurrentIndex(int(i));
            return true;
        }
    }
    show_unknown();
    return false;
}

void DynamicItem::fast_update()
{
    if (!show_matching_choice())
        log().warning(QStringLiteral("Состояние для '") + name
                      + QStringLiteral("' не соответствует режимам в конфигурационном файле"));
}

void DynamicItem::update_status()
{
    if (show_matching_choice())
        log().debug(QStringLiteral("Состояние для '") + name + QStringLiteral("' загружено: ")
                    + comboBox->currentText());
    else
        log().warning(QStringLiteral("Состояние для '") + name
                      + QStringLiteral("' не соответствует режимам в конфигурационном файле"));
    check_conditions();
}

void DynamicItem::check_conditions()
{
    if (!cond.is_array() || cond.empty() || tess::is_empty(cond.at(0)))
        return;
    QStringList hints;
    for (const tess::Condition &c : tess::conditions_of(cond)) {
        if (tess::condition_holds(c, parent->currentStatus))
            continue;
        hints << c.hint;
        if (infolder_status() != tess::StatusPair{0, 0}) {
            // What the disk holds afterwards is all that counts: rescan.
            static_cast<void>(tess::set_patch_status(key, {0, 0}));
            parent->current_status_update();
        }
    }
    if (hints.isEmpty()) {
        set_active(1);
        comboBox->setToolTip(tooltip_with_archives(QString()));
        log().debug(QStringLiteral("Условия для '") + name + QStringLiteral("' загружены"));
        return;
    }
    set_active(0);
    comboBox->setToolTip(tooltip_with_archives(hints.join(QLatin1Char('\n'))));
    log().warning(QStringLiteral("Условия для '") + name + QStringLiteral("' не выполнены => патч будет отключен"));
    if (infolder_status() == tess::StatusPair{0, 0})
        comboBox->setCurrentIndex(comboBox->count() - 1);
    else
        show_matching_choice();  // the switch-off failed: show what the disk holds
}

void DynamicItem::perform_action(int index)
{
    log().debug(QStringLiteral("Изменено состояние для: '") + name + QStringLiteral("'"));
    if (index < 0 || size_t(index) >= choices_.size())
        return;
    const ListSignalBlocker blocked(parent);
    const std::vector<int> &to = choices_[size_t(index)].status;
    // What the disk holds afterwards is all that counts: rescan.
    static_cast<void>(tess::set_patch_status(key, {to.at(0), to.at(1)}));
    parent->current_status_update();
    for (StaticItem *row : parent->patchFrames)
        row->check_conditions();
    fast_update();
    parent->all_patches_combo->update_allpatches_status();
}
