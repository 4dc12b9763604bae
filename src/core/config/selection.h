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

// The file name chosen for a language code: the first candidate holding
// the whole code, else the first holding its language part (before the
// first "_"), both case-sensitive; else the fallback "config_en.json".
QString choose_language_file(const QStringList &candidates, const QString &locale);

}  // namespace tess
