#pragma once

#include "system/system.h"

namespace tess {

// The cleaning of the game folder: "../cache", "../logs", then the entries
// of "../interface/addons" matching "?lizzard_*". What cannot be removed (a
// file in use or protected, a folder that cannot be listed, a mount) stays
// with the folders that hold it, and everything else goes; the result
// counts what went and names what stayed, by its path from the game folder
// ("cache/WDB/enUS/creaturecache.wdb"). A link on the way to these is not
// taken, and every step down from the game folder is made from the folder
// already reached, whatever is renamed meanwhile: only the game's own tree
// is cleaned. Nothing on another file system or mount is removed.
// `removed` is told the path of each target once it is removed whole.
RemoveResult clean_game_folder(const Removed &removed = {});

}  // namespace tess
