#pragma once

#include <QString>

#include "system/system.h"

namespace tess {

// Removes a file or a folder with everything below it. A symbolic link
// (or junction) is removed as a link and never followed, so nothing
// outside the tree is touched. A file whose deletion is denied stays and
// is passed over; a folder that cannot be removed ends the whole removal.
// Neither the depth of the tree nor the bytes of its names are limited by
// what a path can spell.
RemoveResult rmtree(const QString &path);

// The cleaning of the game folder: "../cache", "../logs", then the entries
// of "../interface/addons" matching "?lizzard_*"; the first failure ends it.
// A link on the way to these is not taken, and every step down from the game
// folder is made from the folder already reached, whatever is renamed
// meanwhile: only the game's own tree is cleaned. Nothing on another file
// system or mount is removed; meeting one is a failure. `removed` is told
// the path of each target once it is removed.
RemoveResult clean_game_folder(const Removed &removed = {});

}  // namespace tess
