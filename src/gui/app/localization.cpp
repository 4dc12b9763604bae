#include "core/config/fatal.h"
#include "core/session/session.h"
#include "gui/app/mainwindow.h"
#include "log/log.h"

#include <QFileInfo>
#include <QToolButton>

using tess::log;

void MainWindow::localization()
{
    if (!session_->load_language())
        throw tess::UnusableLanguageFile(session_->language_file().toStdString());
    const QStringList buttons = session_->button_texts();
    exit->setText(buttons.value(0));
    clear_cache_and_trash->setText(buttons.value(1));
    run_wow->setText(buttons.value(2));
    log().debug(QStringLiteral("Текущий файл конфигурации: ") + QFileInfo(session_->language_file()).fileName());
}
