#pragma once

#include "core/patches/patches.h"
#include "core/patches/rows.h"

#include <deque>
#include <vector>

namespace tess {

// The fonts and DXVK rows' choices for what the game folder holds now.
int fonts_on_disk();
int dxvk_on_disk();
// Whether the DXVK renderer is on: its library under its working name.
bool dxvk_on();

// What one row shows: a choice (-1 for "???"), enabled or not, and the
// tooltip that says why not.
struct RowState {
    int shown = -1;
    bool enabled = true;
    QString toolTip;
};

struct PatchRowState {
    PatchRow row;
    RowState state;
};

// A rename the system refused.
struct RenameFailure {
    QString path;   // as found, from the launcher's folder
    int error = 0;  // the system's error code
};

// What a change did on disk.
struct [[nodiscard]] ChangeResult {
    bool acted = false;                   // false: no choice was made, nothing was touched
    bool complete = true;                 // false: a rename failed or found its new name taken
    std::vector<RenameFailure> failures;  // every rename refused on the way
};

// The option list without its widgets: the state of every row and every
// change with its whole cascade — the renames, the rescans, the rows that
// re-read, and their log lines in the order the window writes them. The
// window shows the states afterwards; the command line prints them.
class OptionRows
{
public:
    // What the rows switch and scan: the game folder itself, or a copy of
    // its scan in memory that takes every patch switch without touching a
    // file and leaves the fonts and DXVK files as they are (what the
    // window's start and a player's picks would show, read without changing
    // anything).
    enum class Disk { Real, Simulated };

    // `status` is the scan the rows read; every rescan replaces it.
    OptionRows(PatchStatusMap &status, RowsModel model, Disk disk = Disk::Real);

    const RowsModel &model() const { return model_; }

    // A patch row with its own state; it follows changes once listed.
    PatchRowState &make_patch_row(PatchRow row);
    void list_patch_row(PatchRowState &row);
    const std::vector<PatchRowState *> &listed() const { return listed_; }

    // Every row of the model listed and read as the window builds them:
    // the patch rows in order, then fonts, DXVK and all patches.
    void start();
    void start_patch_rows();
    void start_fixed_rows();
    // The listed patch row of a letter; nullptr for none.
    PatchRowState *patch_row(const QString &key);

    // What each row reads when it is built.
    void read_patch_row(PatchRowState &row);
    void read_fonts();
    void read_dxvk();
    void read_allpatches();
    // A patch row's conditions against the scan; a failing one switches
    // the patch off and rescans.
    void check_conditions(PatchRowState &row);
    // A patch row shows the choice its files match, or "???" with a warning.
    void fast_update(PatchRowState &row);

    // The user's pick on a row, and all that follows from it.
    ChangeResult change_patch(PatchRowState &row, int index);
    ChangeResult change_fonts(int index);
    ChangeResult change_dxvk(int index);
    ChangeResult change_allpatches(int index);

    RowState fonts;
    RowState dxvk;
    RowState allpatches;
    bool allpatchesSign = false;  // the warning sign beside the all-patches row

private:
    void rescan();
    SwitchResult switch_patch(const QString &key, const StatusPair &status);
    SwitchResult switch_fonts(int index) const;
    SwitchResult switch_dxvk(int index) const;
    void track(const SwitchResult &result);
    bool show_matching_choice(PatchRowState &row) const;
    ChangeResult change_file_row(int index, const FixedRow &fixed, RowState &state,
                                 SwitchResult (OptionRows::*switcher)(int) const, void (OptionRows::*reread)());
    std::vector<const PatchRow *> listed_rows() const;

    PatchStatusMap &status_;
    RowsModel model_;
    Disk disk_;
    PatchStatusMap simulated_;        // the simulated disk's scan
    std::deque<PatchRowState> rows_;  // stable addresses for the widgets
    std::vector<PatchRowState *> listed_;
    bool complete_ = true;
    std::vector<RenameFailure> failures_;
    ChangeResult done();
};

}  // namespace tess
