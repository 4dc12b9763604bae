#include "core/patches/rows.h"

#include <algorithm>

namespace tess {

QStringList PatchRow::texts() const
{
    QStringList result;
    for (const RowChoice &c : choices)
        result << c.text;
    return result;
}

RowTitle row_title_of(const Json &entry)
{
    const QString raw = to_qstring(entry.at("name"));
    return {row_title(raw), row_font_size(raw)};
}

PatchRow patch_row(const QString &key, const Json &entry)
{
    PatchRow row;
    row.key = key;
    row.title = row_title_of(entry);
    for (const Choice &c : patch_choices(entry.at("actions"))) {
        RowChoice choice{c.text, {}};
        // Validated as pairs; anything shorter never matches a scan.
        if (c.status.size() == 2)
            choice.status = {c.status[0], c.status[1]};
        else
            choice.status = {-1, -1};
        row.choices.push_back(choice);
    }
    row.conditions = conditions_of(entry.at("conditions"));
    return row;
}

FixedRow fixed_row(const Json &entry) { return {row_title_of(entry), action_texts(entry.at("actions"))}; }

RowsModel rows_model(const Json &doc)
{
    RowsModel model;
    const Json &fixed = doc.at("patches").at("static");
    model.fonts = fixed_row(fixed.at("fonts"));
    model.dxvk = fixed_row(fixed.at("dxvk"));
    model.allpatches = fixed_row(fixed.at("allpatches"));
    model.defaults = default_triples(fixed.at("default"));
    const Json &dynamic = doc.at("patches").at("dynamic");
    for (auto it = dynamic.begin(); it != dynamic.end(); ++it)
        if (!is_empty(it.value().at("name")))
            model.patches.push_back(patch_row(QString::fromStdString(it.key()), it.value()));
    return model;
}

int matching_choice(const PatchRow &row, const StatusPair &onDisk)
{
    for (size_t i = 0; i < row.choices.size(); ++i)
        if (row.choices[i].status == onDisk)
            return int(i);
    return -1;
}

int fonts_choice(bool workingFont) { return workingFont ? 0 : 1; }

int dxvk_choice(bool library, bool config) { return library ? (config ? 0 : 1) : 2; }

bool fonts_on(int index) { return index == 0; }

DxvkSwitch dxvk_switch(int index) { return {index != 2, index == 0}; }

int allpatches_mode(const std::vector<const PatchRow *> &rows, const std::vector<int> &shown,
                    const std::vector<DefaultTriple> &defaults, const PatchStatusMap &status)
{
    const auto every = [&](auto test) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (!test(*rows[i], shown[i]))
                return false;
        return true;
    };
    if (every([](const PatchRow &, int s) { return s == 0; }))
        return kAllOn;
    if (every([](const PatchRow &r, int s) { return s == int(r.choices.size()) - 1; }))
        return kAllOff;
    const bool held = std::all_of(defaults.begin(), defaults.end(), [&status](const DefaultTriple &t) {
        return status.value(t.letter) == StatusPair{t.data, t.locale};
    });
    return held ? kDefaults : kCustom;
}

BulkSwitch allpatches_switch(int index, const std::vector<const PatchRow *> &rows,
                             const std::vector<DefaultTriple> &defaults)
{
    BulkSwitch plan;
    if (index == kAllOn || index == kAllOff) {
        const StatusPair pair = index == kAllOn ? StatusPair{1, 1} : StatusPair{0, 0};
        for (const PatchRow *row : rows)
            plan.patches.emplace_back(row->key, pair);
    } else {
        for (const DefaultTriple &t : defaults)
            plan.patches.emplace_back(t.letter, StatusPair{t.data, t.locale});
    }
    // Only all on turns fonts and DXVK on; the default set leaves them off.
    plan.fonts = index == kAllOn ? 0 : 1;
    plan.dxvk = index == kAllOn ? 0 : 2;
    return plan;
}

bool alternative_holds(const QString &alternative, const PatchStatusMap &status)
{
    if (alternative.isEmpty() || !status.contains(alternative.left(1)))
        return false;
    const StatusPair real = status.value(alternative.left(1));
    if (alternative.size() - 1 != int(real.size()))
        return false;
    for (int i = 1; i < alternative.size(); ++i)
        if (alternative.at(i).digitValue() != real[size_t(i - 1)])
            return false;
    return true;
}

bool condition_holds(const Condition &condition, const PatchStatusMap &status)
{
    for (const QString &alt : condition.alternatives)
        if (alternative_holds(alt, status))
            return true;
    return false;
}

}  // namespace tess
