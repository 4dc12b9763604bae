#pragma once

#include "core/config/langfile.h"

#include <QString>

namespace tess {

// Holds a LanguageFile, whose implicit constructor the check flags the same way.
struct LoadedLanguageFile {  // NOLINT(bugprone-exception-escape)
    QString path;            // ".config/config_en.json"
    LanguageFile file;       // file.error set when it cannot be used
};

// Chooses the language file for `locale` in `configDir`, reads and checks it.
// An unusable one is logged as the start-up logs it: the fault, then the
// critical line naming the file.
LoadedLanguageFile load_language_file(const QString &configDir, const QString &locale);

}  // namespace tess
