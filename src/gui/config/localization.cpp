#include "log/log.h"
#include "gui/app/mainwindow.h"
#include "core/config/fatal.h"
#include "core/config/langfile.h"
#include "core/config/loading.h"
#include "core/patches/option_rows.h"

#include <QFileInfo>
#include <QToolButton>

using tess::log;

void MainWindow::localization()
{
    tess::LoadedLanguageFile loaded = tess::load_language_file(config_dir, locale);
    localeConfig = loaded.path;
    tess::LanguageFile &parsed = loaded.file;
    if (!parsed.error.isEmpty())
        throw tess::UnusableLanguageFile(localeConfig.toStdString());
    langfile = std::move(parsed.doc);
    optionRows = std::make_unique<tess::OptionRows>(currentStatus, tess::rows_model(langfile));
    const auto &buttons = langfile["buttons"];
    exit->setText(tess::to_qstring(buttons[0]));
    clear_cache_and_trash->setText(tess::to_qstring(buttons[1]));
    run_wow->setText(tess::to_qstring(buttons[2]));
    log().debug(QStringLiteral("Текущий файл конфигурации: ") + QFileInfo(localeConfig).fileName());
}
