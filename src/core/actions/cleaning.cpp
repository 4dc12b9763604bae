#include "core/actions/cleaning.h"

#include "core/search/wildcard.h"

#include "system/system.h"

namespace tess {

namespace {

// Where the cleaning starts; every target lies below it.
constexpr char game_folder[] = "..";

RemoveResult clean_target(const QStringList &components, const Removed &removed)
{
    return remove_matching(QString::fromLatin1(game_folder), components, component_matches, removed);
}

}  // namespace

RemoveResult rmtree(const QString &path) { return remove_tree(path); }

RemoveResult clean_game_folder(const Removed &removed)
{
    for (const char *target : {"cache", "logs", "interface/addons/?lizzard_*"}) {
        // Each folder is listed whole before anything in it is removed.
        RemoveResult r = clean_target(QString::fromLatin1(target).split(QLatin1Char('/')), removed);
        if (!r.ok)
            return r;
    }
    return {};
}

}  // namespace tess
