#pragma once

#include <QString>
#include <QStringList>

namespace tess {

// The language code the program runs in: the first of `arguments` (those
// after the program's name), else the system locale's name in lower case.
QString language_code(const QStringList &arguments);

// The language files of a folder: names ending in ".json" in any letter
// case, not beginning with ".", in the order the file system lists them.
QStringList language_candidates(const QString &configDir);

// The file name chosen for a language code by the language each name gives
// (config_<lang>.json, or the whole name before ".json"): the first whose
// language is the whole code, else the first whose language part (before
// the first "_") is the code's, both case-sensitive; else the fallback
// "config_en.json". A code no file names, "c" or "posix", takes the fallback.
QString choose_language_file(const QStringList &candidates, const QString &locale);

}  // namespace tess
