#include "app/log.h"
#include "app/mainwindow.h"
#include "app/readfile.h"
#include "config/fatal.h"
#include "config/langfile.h"
#include "config/selection.h"

#include <QDir>
#include <QFileInfo>
#include <QToolButton>

using tess::log;

void MainWindow::localization()
{
    const QString name = tess::choose_language_file(tess::language_candidates(config_dir), locale);
    localeConfig = config_dir + QStringLiteral("/") + name;

    // One byte past the bound is enough to refuse a file.
    const tess::ReadResult read = tess::read_regular_file(localeConfig, tess::kMaxLanguageFileBytes + 1);
    tess::LanguageFile parsed;
    if (read.fault == tess::ReadResult::Fault::NotRegular)
        parsed.error = QStringLiteral("не обычный файл");
    else if (read.fault == tess::ReadResult::Fault::Missing || read.fault == tess::ReadResult::Fault::Unreadable)
        parsed.error = QStringLiteral("файл не читается: ") + read.error;
    else
        parsed = tess::read_language_file(read.bytes);

    if (!parsed.error.isEmpty()) {
        log().debug(QStringLiteral("Ошибка в файле конфигурации: ") + parsed.error);
        log().critical(QStringLiteral("Невозможно обработать файл: ") + QDir::toNativeSeparators(localeConfig));
        throw tess::UnusableLanguageFile(localeConfig.toStdString());
    }
    langfile = std::move(parsed.doc);
    const auto &buttons = langfile["buttons"];
    exit->setText(tess::to_qstring(buttons[0]));
    clear_cache_and_trash->setText(tess::to_qstring(buttons[1]));
    run_wow->setText(tess::to_qstring(buttons[2]));
    log().debug(QStringLiteral("Текущий файл конфигурации: ") + QFileInfo(localeConfig).fileName());
}
