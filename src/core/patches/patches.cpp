#include "core/patches/patches.h"

#include "core/config/langfile.h"

#include "log/log.h"
#include "system/system.h"
#include "core/patches/rows.h"
#include "core/search/wildcard.h"
#include "core/search/places.h"

#include <QDir>

namespace tess {

namespace {

QStringList make_alphabet()
{
    QStringList letters;
    for (char c = '5'; c <= '9'; ++c)
        letters << QString(QLatin1Char(c));
    for (char c = 'a'; c <= 'z'; ++c)
        letters << QString(QLatin1Char(c));
    return letters;
}

const QString kDisabled = QStringLiteral(".disabled");
const QString kMpq = QStringLiteral(".mpq");
// Where the patch searches start; every path they find begins with it.
const QString &kDataFolder = places::kData;

// A patch archive's path as the search built it: kDataFolder's components,
// then maybe locale folders, then the name.
struct PatchPath {
    QStringList parts;  // lower case
    QString name() const { return parts.last(); }
    QString folder() const { return parts.at(parts.size() - 2); }
    bool inDataFolder() const { return folder() == QLatin1String("data"); }
    // Directly in a sub-folder of the data folder, as a locale folder's files are.
    bool oneFolderBelowData() const
    {
        static const int dataDepth = int(kDataFolder.count(QLatin1Char('/'))) + 1;
        return parts.size() == dataDepth + 2;
    }
    // The locale base archive: patch-XXXX.mpq directly in a locale folder.
    bool isLocaleBase(const QString &namePattern) const
    {
        return oneFolderBelowData() && wildcard_match(namePattern, name());
    }
    // The character right before ".mpq" in a name that ends in it.
    QString letter() const { return name().mid(name().size() - kMpq.size() - 1, 1); }
};

PatchPath split_lower(const QString &path) { return {path.toLower().split(QLatin1Char('/'))}; }

// Renames one file to newName in its own folder. Returns false when the
// operation must end: the system refused the rename.
bool switch_one(const QString &path, const QString &newName, SwitchResult &result)
{
    if (file_name(path) == newName)
        return true;
    const RenameResult r = rename_no_replace(path, parent_of(path) + newName);
    switch (r.status) {
    case RenameStatus::Renamed: return true;
    case RenameStatus::TargetExists:
        // Replacing would destroy a different file: leave both and say so.
        log().warning(QStringLiteral("Файл не переименован, имя уже занято: ") + QDir::toNativeSeparators(path));
        result.occupied << path;
        return true;
    case RenameStatus::Failed: break;
    }
    result.completed = false;
    result.failedPath = path;
    result.error = r.error;
    return false;
}

// Switches every file of a pattern to one extension; false when it failed.
bool switch_all(const QString &pattern, const QString &extension, bool on, SwitchResult &result)
{
    for (const QString &path : glob(pattern)) {
        if (!switch_one(path, switched_name(file_name(path), extension, on), result))
            return false;
    }
    return true;
}

}  // namespace

const QStringList ALPHABET = make_alphabet();

PatchStatusMap::PatchStatusMap() = default;

int PatchStatusMap::indexOf(const QString &key) { return patch_letter_index(key); }

StatusPair PatchStatusMap::value(const QString &key) const
{
    const int i = indexOf(key);
    return i < 0 ? StatusPair{0, 0} : values_[size_t(i)];
}

void PatchStatusMap::set(const QString &key, const StatusPair &pair)
{
    const int i = indexOf(key);
    if (i >= 0)
        values_[size_t(i)] = pair;
}

QString switched_name(const QString &name, const QString &extension, bool on)
{
    const int at = name.lastIndexOf(extension, -1, Qt::CaseInsensitive);
    if (at < 0)
        return name;
    return name.left(at) + extension + (on ? QString() : kDisabled);
}

namespace {
ScanHook scan_hook = nullptr;
}  // namespace

void set_scan_hook(ScanHook hook) { scan_hook = hook; }

PatchStatusMap get_status()
{
    if (scan_hook)
        scan_hook();
    PatchStatusMap map;
    for (const QString &path : glob(kDataFolder + QStringLiteral("/**/patch-*") + kMpq)) {
        const PatchPath p = split_lower(path);
        if (p.isLocaleBase(QStringLiteral("patch-????") + kMpq))
            continue;
        const QString letter = p.letter();
        if (!map.contains(letter))
            continue;
        StatusPair pair = map.value(letter);
        pair[p.inDataFolder() ? 0 : 1] = 1;
        map.set(letter, pair);
    }
    return map;
}

std::vector<PatchArchive> patch_archives()
{
    std::vector<PatchArchive> found;
    for (const QString &path : glob(kDataFolder + QStringLiteral("/**/patch-*") + kMpq + QLatin1Char('*'))) {
        const PatchPath p = split_lower(path);
        if (p.isLocaleBase(QStringLiteral("patch-????") + kMpq + QLatin1Char('*')))
            continue;
        QString name = p.name();
        if (name.endsWith(kDisabled))
            name.chop(kDisabled.size());
        if (!name.endsWith(kMpq))
            continue;
        const QString letter = name.mid(name.size() - kMpq.size() - 1, 1);
        if (PatchStatusMap::indexOf(letter) >= 0)
            found.push_back({letter, path});
    }
    return found;
}

SwitchResult set_patch_status(const QString &key, const StatusPair &status)
{
    SwitchResult result;
    for (const QString &path : glob(kDataFolder + QStringLiteral("/**/patch-*") + key + kMpq + QLatin1Char('*'))) {
        const PatchPath p = split_lower(path);
        if (p.isLocaleBase(QStringLiteral("patch-????") + kMpq + QLatin1Char('*')))
            continue;
        const bool on = (p.inDataFolder() ? status[0] : status[1]) != 0;
        // Patch archives are always renamed to lower case.
        if (!switch_one(path, switched_name(p.name(), kMpq, on), result))
            break;
    }
    return result;
}

SwitchResult switch_fonts_status(int index)
{
    SwitchResult result;
    switch_all(places::kFonts + QStringLiteral("/*.ttf*"), QStringLiteral(".ttf"), fonts_on(index), result);
    return result;
}

SwitchResult switch_dxvk_status(int index)
{
    SwitchResult result;
    const DxvkSwitch wanted = dxvk_switch(index);
    if (switch_all(places::kD3d9 + QLatin1Char('*'), QStringLiteral(".dll"), wanted.library, result))
        switch_all(places::kDxvkConf + QLatin1Char('*'), QStringLiteral(".conf"), wanted.config, result);
    return result;
}

}  // namespace tess
