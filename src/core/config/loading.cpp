#include "core/config/loading.h"

#include "log/log.h"
#include "system/system.h"
#include "core/config/selection.h"
#include "core/search/own_files.h"

#include <QDir>

namespace tess {

LoadedLanguageFile load_language_file(const QString &configDir, const QString &locale)
{
    LoadedLanguageFile loaded;
    loaded.path = configDir + QStringLiteral("/") + choose_language_file(language_candidates(configDir), locale);
    // One byte past the bound is enough to refuse a file.
    const ReadResult read = read_own_file(loaded.path, kMaxLanguageFileBytes + 1);
    if (read.fault == ReadResult::Fault::NotRegular)
        loaded.file.error = QStringLiteral("не обычный файл");
    else if (read.fault == ReadResult::Fault::Outside)
        loaded.file.error = QStringLiteral("ссылка ведёт за пределы папки программы: ") + read.error;
    else if (read.fault == ReadResult::Fault::Missing || read.fault == ReadResult::Fault::Unreadable)
        loaded.file.error = QStringLiteral("файл не читается: ") + read.error;
    else
        loaded.file = read_language_file(read.bytes);
    if (!loaded.file.error.isEmpty()) {
        log().debug(QStringLiteral("Ошибка в файле конфигурации: ") + loaded.file.error);
        log().critical(QStringLiteral("Невозможно обработать файл: ") + QDir::toNativeSeparators(loaded.path));
    }
    return loaded;
}

}  // namespace tess
