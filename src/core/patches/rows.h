#pragma once

#include "core/config/langfile.h"
#include "core/patches/patches.h"

#include <QString>
#include <QStringList>

#include <vector>

// The option rows as the language file describes them, and the rules that
// decide what each row shows and what each choice switches. Built once from
// a validated language file; nothing here touches the disk.
namespace tess {

struct RowChoice {
    QString text;
    StatusPair status{};
};

// What every row has: its title with the groups removed, the title's point
// size, and its choices' texts in document order.
struct RowTitle {
    QString name;      // as shown and as quoted in the log
    QString fontSize;  // "11pt"
};

struct PatchRow {
    QString key;  // the patch letter
    RowTitle title;
    std::vector<RowChoice> choices;
    std::vector<Condition> conditions;  // empty: the row is never switched off
    QStringList texts() const;
};

struct FixedRow {
    RowTitle title;
    QStringList choices;
};

struct RowsModel {
    std::vector<PatchRow> patches;  // the entries with a name, in document order
    FixedRow fonts;
    FixedRow dxvk;
    FixedRow allpatches;
    std::vector<DefaultTriple> defaults;
};

RowTitle row_title_of(const Json &entry);
PatchRow patch_row(const QString &key, const Json &entry);
FixedRow fixed_row(const Json &entry);
// `doc` must have passed validate_language_file().
RowsModel rows_model(const Json &doc);

// "a10": patch a with the data file on and the locale file off. Holds only
// when every digit equals the scanned flag at its place and the counts match.
bool alternative_holds(const QString &alternative, const PatchStatusMap &status);
bool condition_holds(const Condition &condition, const PatchStatusMap &status);

// The first choice whose pair is what the disk holds; -1 for none.
int matching_choice(const PatchRow &row, const StatusPair &onDisk);

// The fonts row: 0 while any working font file is there, else 1.
int fonts_choice(bool workingFont);
// The DXVK row: 0 with both files working, 1 with the library only, 2 without it.
int dxvk_choice(bool library, bool config);

// What a fonts or DXVK choice asks the switcher for.
bool fonts_on(int index);
struct DxvkSwitch {
    bool library;
    bool config;
};
DxvkSwitch dxvk_switch(int index);

// The all-patches row's modes; kCustom shows "???" and the warning sign.
inline constexpr int kAllOn = 0;
inline constexpr int kDefaults = 1;
inline constexpr int kAllOff = 2;
inline constexpr int kCustom = -1;

// The mode the all-patches row shows: all on when every patch row shows its
// first choice (also without patch rows), all off when every one shows its
// last, otherwise the default set when every triple holds for `status`.
// `shown[i]` is the choice patch row i shows (-1 for "???").
int allpatches_mode(const std::vector<const PatchRow *> &rows, const std::vector<int> &shown,
                    const std::vector<DefaultTriple> &defaults, const PatchStatusMap &status);

// What one all-patches choice asks the switcher for, in this order.
struct BulkSwitch {
    std::vector<std::pair<QString, StatusPair>> patches;
    int fonts = 0;  // an index of the fonts row
    int dxvk = 0;   // an index of the DXVK row
};
BulkSwitch allpatches_switch(int index, const std::vector<const PatchRow *> &rows,
                             const std::vector<DefaultTriple> &defaults);

}  // namespace tess
