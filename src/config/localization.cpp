#include "app/log.h"
#include "app/mainwindow.h"
#include "config/fatal.h"
#include "config/langfile.h"
#include "config/selection.h"
#include "patches/option_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QToolButton>

using tess::log;

void MainWindow::localization()
{
    const QString name = tess::choose_language_file(tess::language_candidates(config_dir), locale);
    localeConfig = config_dir + QStringLiteral("/") + name;

    QFile file(localeConfig);
    tess::LanguageFile parsed;
    if (!file.open(QIODevice::ReadOnly))
        parsed.error = QStringLiteral("файл не читается: ") + file.errorString();
    else  // one byte past the bound is enough to refuse a file
        parsed = tess::read_language_file(file.read(tess::kMaxLanguageFileBytes + 1));

    if (!parsed.error.isEmpty()) {
        log().debug(QStringLiteral("Ошибка в файле конфигурации: ") + parsed.error);
        log().critical(QStringLiteral("Невозможно обработать файл: ") + QDir::toNativeSeparators(localeConfig));
        throw tess::UnusableLanguageFile(localeConfig.toStdString());
    }
    langfile = std::move(parsed.doc);
    optionRows = std::make_unique<tess::OptionRows>(currentStatus, tess::rows_model(langfile));
    const auto &buttons = langfile["buttons"];
    exit->setText(tess::to_qstring(buttons[0]));
    clear_cache_and_trash->setText(tess::to_qstring(buttons[1]));
    run_wow->setText(tess::to_qstring(buttons[2]));
    log().debug(QStringLiteral("Текущий файл конфигурации: ") + QFileInfo(localeConfig).fileName());
}
