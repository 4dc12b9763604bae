#include "config/loading.h"

#include "app/log.h"
#include "config/selection.h"

#include <QDir>
#include <QFile>

namespace tess {

LoadedLanguageFile load_language_file(const QString &configDir, const QString &locale)
{
    LoadedLanguageFile loaded;
    loaded.path = configDir + QStringLiteral("/") + choose_language_file(language_candidates(configDir), locale);
    QFile file(loaded.path);
    if (!file.open(QIODevice::ReadOnly))
        loaded.file.error = QStringLiteral("файл не читается: ") + file.errorString();
    else  // one byte past the bound is enough to refuse a file
        loaded.file = read_language_file(file.read(kMaxLanguageFileBytes + 1));
    if (!loaded.file.error.isEmpty()) {
        log().debug(QStringLiteral("Ошибка в файле конфигурации: ") + loaded.file.error);
        log().critical(QStringLiteral("Невозможно обработать файл: ") + QDir::toNativeSeparators(loaded.path));
    }
    return loaded;
}

}  // namespace tess
