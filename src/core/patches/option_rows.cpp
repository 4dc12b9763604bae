#include "core/patches/option_rows.h"

#include "log/log.h"
#include "core/search/wildcard.h"
#include "core/search/places.h"

namespace tess {

namespace {

bool present(const QString &pattern) { return !glob(pattern).isEmpty(); }

void log_change(const QString &name)
{
    log().debug(QStringLiteral("Изменено состояние для: '") + name + QStringLiteral("'"));
}

void log_mismatch(const QString &name)
{
    log().warning(QStringLiteral("Состояние для '") + name
                  + QStringLiteral("' не соответствует режимам в конфигурационном файле"));
}

QString text_of(const QStringList &choices, int index) { return choices.value(index); }

}  // namespace

int fonts_on_disk() { return fonts_choice(present(places::kFonts + QStringLiteral("/*.ttf"))); }

int dxvk_on_disk() { return dxvk_choice(present(places::kD3d9), present(places::kDxvkConf)); }

bool dxvk_on() { return dxvk_switch(dxvk_on_disk()).library; }

OptionRows::OptionRows(PatchStatusMap &status, RowsModel model, Disk disk)
    : status_(status), model_(std::move(model)), disk_(disk), simulated_(status)
{}

PatchRowState &OptionRows::make_patch_row(PatchRow row)
{
    rows_.push_back({std::move(row), RowState()});
    return rows_.back();
}

void OptionRows::list_patch_row(PatchRowState &row) { listed_.push_back(&row); }

std::vector<const PatchRow *> OptionRows::listed_rows() const
{
    std::vector<const PatchRow *> rows;
    rows.reserve(listed_.size());
    for (const PatchRowState *r : listed_)
        rows.push_back(&r->row);
    return rows;
}

void OptionRows::start()
{
    start_patch_rows();
    start_fixed_rows();
}

void OptionRows::start_patch_rows()
{
    for (const PatchRow &patch : model_.patches) {
        PatchRowState &row = make_patch_row(patch);
        read_patch_row(row);
        list_patch_row(row);
    }
}

void OptionRows::start_fixed_rows()
{
    read_fonts();
    read_dxvk();
    read_allpatches();
}

PatchRowState *OptionRows::patch_row(const QString &key)
{
    for (PatchRowState *r : listed_)
        if (r->row.key == key)
            return r;
    return nullptr;
}

void OptionRows::rescan() { status_ = disk_ == Disk::Real ? get_status() : simulated_; }

SwitchResult OptionRows::switch_patch(const QString &key, const StatusPair &status)
{
    if (disk_ == Disk::Real)
        return set_patch_status(key, status);
    simulated_.set(key, status);
    return {};
}

SwitchResult OptionRows::switch_fonts(int index) const
{
    return disk_ == Disk::Real ? switch_fonts_status(index) : SwitchResult();
}

SwitchResult OptionRows::switch_dxvk(int index) const
{
    return disk_ == Disk::Real ? switch_dxvk_status(index) : SwitchResult();
}

void OptionRows::track(const SwitchResult &result)
{
    if (!result.completed || !result.occupied.isEmpty())
        complete_ = false;
    if (!result.completed)
        failures_.push_back({result.failedPath, result.error});
}

ChangeResult OptionRows::done()
{
    ChangeResult result{true, complete_, std::move(failures_)};
    failures_.clear();
    return result;
}

bool OptionRows::show_matching_choice(PatchRowState &row) const
{
    row.state.shown = matching_choice(row.row, status_.value(row.row.key));
    return row.state.shown >= 0;
}

void OptionRows::fast_update(PatchRowState &row)
{
    if (!show_matching_choice(row))
        log_mismatch(row.row.title.name);
}

void OptionRows::read_patch_row(PatchRowState &row)
{
    if (show_matching_choice(row))
        log().debug(QStringLiteral("Состояние для '") + row.row.title.name + QStringLiteral("' загружено: ")
                    + row.row.choices[size_t(row.state.shown)].text);
    else
        log_mismatch(row.row.title.name);
    check_conditions(row);
}

void OptionRows::check_conditions(PatchRowState &row)
{
    if (row.row.conditions.empty())
        return;
    const QString &key = row.row.key;
    QStringList hints;
    for (const Condition &c : row.row.conditions) {
        if (condition_holds(c, status_))
            continue;
        hints << c.hint;
        if (status_.value(key) != StatusPair{0, 0}) {
            // What the disk holds afterwards is all that counts: rescan.
            track(switch_patch(key, {0, 0}));
            rescan();
        }
    }
    const QString &name = row.row.title.name;
    if (hints.isEmpty()) {
        row.state.enabled = true;
        row.state.toolTip.clear();
        log().debug(QStringLiteral("Условия для '") + name + QStringLiteral("' загружены"));
        return;
    }
    row.state.enabled = false;
    row.state.toolTip = hints.join(QLatin1Char('\n'));
    log().warning(QStringLiteral("Условия для '") + name + QStringLiteral("' не выполнены => патч будет отключен"));
    if (status_.value(key) == StatusPair{0, 0})
        row.state.shown = int(row.row.choices.size()) - 1;
    else
        show_matching_choice(row);  // the switch-off failed: show what the disk holds
}

void OptionRows::read_fonts()
{
    fonts.shown = fonts_on_disk();
    log().debug(QStringLiteral("Статус для фрейма 'Шрифты' обновлен: ") + text_of(model_.fonts.choices, fonts.shown));
}

void OptionRows::read_dxvk()
{
    dxvk.shown = dxvk_on_disk();
    log().debug(QStringLiteral("Статус для фрейма 'DXVK' обновлен: ") + text_of(model_.dxvk.choices, dxvk.shown));
}

void OptionRows::read_allpatches()
{
    std::vector<int> shown;
    shown.reserve(listed_.size());
    for (const PatchRowState *r : listed_)
        shown.push_back(r->state.shown);
    const int mode = allpatches_mode(listed_rows(), shown, model_.defaults, status_);
    allpatches.shown = mode;
    allpatchesSign = mode == kCustom;
    if (mode == kCustom) {
        log().warning(QStringLiteral("Статус для фрейма 'Все патчи' имеет пользовательское значение"));
        return;
    }
    log().debug(QStringLiteral("Статус для фрейма 'Все патчи' обновлен: ")
                + text_of(model_.allpatches.choices, allpatches.shown));
}

ChangeResult OptionRows::change_patch(PatchRowState &row, int index)
{
    log_change(row.row.title.name);
    row.state.shown = index;
    if (index < 0 || size_t(index) >= row.row.choices.size())
        return {};
    complete_ = true;
    failures_.clear();
    track(switch_patch(row.row.key, row.row.choices[size_t(index)].status));
    rescan();
    for (PatchRowState *r : listed_)
        check_conditions(*r);
    fast_update(row);
    read_allpatches();
    return done();
}

ChangeResult OptionRows::change_file_row(int index, const FixedRow &fixed, RowState &state,
                                         SwitchResult (OptionRows::*switcher)(int) const, void (OptionRows::*reread)())
{
    log_change(fixed.title.name);
    state.shown = index;
    if (index < 0)
        return {};
    complete_ = true;
    failures_.clear();
    // Whatever the switch managed, the row shows the disk afterwards.
    track((this->*switcher)(index));
    (this->*reread)();
    read_allpatches();
    return done();
}

ChangeResult OptionRows::change_fonts(int index)
{
    return change_file_row(index, model_.fonts, fonts, &OptionRows::switch_fonts, &OptionRows::read_fonts);
}

ChangeResult OptionRows::change_dxvk(int index)
{
    return change_file_row(index, model_.dxvk, dxvk, &OptionRows::switch_dxvk, &OptionRows::read_dxvk);
}

ChangeResult OptionRows::change_allpatches(int index)
{
    log_change(model_.allpatches.title.name);
    allpatches.shown = index;
    // No selection is no choice: nothing may be renamed for it.
    if (index < 0)
        return {};
    complete_ = true;
    failures_.clear();
    const BulkSwitch plan = allpatches_switch(index, listed_rows(), model_.defaults);
    for (const auto &patch : plan.patches)
        track(switch_patch(patch.first, patch.second));
    track(switch_fonts(plan.fonts));
    track(switch_dxvk(plan.dxvk));
    const bool switched = complete_;
    rescan();
    for (PatchRowState *r : listed_)
        read_patch_row(*r);
    read_fonts();
    read_dxvk();
    allpatchesSign = false;
    // The row keeps the user's choice, unless the files did not follow it:
    // then it shows what the disk holds.
    if (!switched)
        read_allpatches();
    return done();
}

}  // namespace tess
