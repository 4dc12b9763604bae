#include "core/actions/cleaning.h"

#include "core/search/wildcard.h"

namespace tess {

namespace {

// Where the cleaning starts; every target lies below it.
constexpr char game_folder[] = "..";

}  // namespace

RemoveResult clean_game_folder(const Removed &removed)
{
    RemoveResult result;
    for (const char *target : {"cache", "logs", "interface/addons/?lizzard_*"}) {
        // Each folder is listed whole before anything in it is removed.
        result += remove_matching(QString::fromLatin1(game_folder), QString::fromLatin1(target).split(QLatin1Char('/')),
                                  component_matches, removed);
    }
    return result;
}

}  // namespace tess
