#pragma once

#include "system/system.h"

#include <QString>

// The program's own files (the settings, the archive cache, the checksum
// list, the language files) lie in its folder. Each is written with
// replace_file(), which replaces a link by the file's name instead of
// writing through it, and read here.
namespace tess {

// Reads the file at `path` as read_regular_file() does, through a link only
// when what it leads to lies inside the program's folder (the working
// folder): a file elsewhere is Outside, and nothing of it is kept.
ReadResult read_own_file(const QString &path, qint64 limit);

}  // namespace tess
