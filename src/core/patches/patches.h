#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace tess {

// The 31 patch letters, in order: the digits 5 to 9, then a to z.
extern const QStringList ALPHABET;

// [data, locale]: the patch archive directly in the data folder, and the
// one in a locale folder below it; each 0 (off) or 1 (on).
using StatusPair = std::array<int, 2>;

// What a scan of the patch files gives: every letter of ALPHABET, in its
// order, with its status pair.
class PatchStatusMap
{
public:
    PatchStatusMap();

    static int indexOf(const QString &key);
    bool contains(const QString &key) const { return indexOf(key) >= 0; }
    // [0, 0] for a text that is not a patch letter.
    StatusPair value(const QString &key) const;
    // Sets the pair of a patch letter; a text that is not one is ignored.
    void set(const QString &key, const StatusPair &pair);
    QStringList keys() const { return ALPHABET; }
    int size() const { return int(values_.size()); }

    bool operator==(const PatchStatusMap &other) const { return values_ == other.values_; }
    bool operator!=(const PatchStatusMap &other) const { return !(*this == other); }

private:
    std::array<StatusPair, 31> values_{};
};

// What a switch did. Callers re-read the disk with get_status() either way.
struct [[nodiscard]] SwitchResult {
    bool completed = true;  // false: a rename failed and ended the operation
    QString failedPath;     // the file whose rename failed
    int error = 0;          // the system's error code for it
    QStringList occupied;   // files left alone because their new name was taken
};

PatchStatusMap get_status();

// One patch archive a row manages, under either name (".mpq" or
// ".mpq.disabled"), in the data folder or a locale folder below it.
struct PatchArchive {
    QString letter;
    QString path;  // as found, from the launcher's folder ("../Data/patch-a.mpq")
};
// Every one of them, in the order the search finds them; the same files the
// switches rename.
std::vector<PatchArchive> patch_archives();
// A diagnostic: called at the start of every get_status() once set (the
// benchmarks count scans with it); nullptr removes it.
using ScanHook = void (*)();
void set_scan_hook(ScanHook hook);
SwitchResult set_patch_status(const QString &key, const StatusPair &status);
SwitchResult switch_fonts_status(int index);
SwitchResult switch_dxvk_status(int index);

// The new name of a switchable file: everything before the extension that
// the switch owns (found without regard to case) keeps its place, the
// extension and all after it are replaced by `extension`, plus ".disabled"
// when off. Returns the name unchanged when it lacks the extension.
QString switched_name(const QString &name, const QString &extension, bool on);

}  // namespace tess
