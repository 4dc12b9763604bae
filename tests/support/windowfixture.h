#pragma once

#include "log/log.h"
#include "gui/app/mainwindow.h"
#include "core/config/fatal.h"
#include "core/session/session.h"
#include "gui/patches/items.h"
#include "support/gamefolder.h"
#include "support/languagefile.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>

#include <memory>

// A language file as shipped beside the program ("config_en.json"); empty
// when it cannot be read.
inline QByteArray shipped_language_file(const QString &name)
{
    QFile f(QStringLiteral(TESSARINE_SOURCE_DIR "/dist/.config/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Registers the bundle's fonts as the start-up does.
inline void register_fonts()
{
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU_bold.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_RU.ttf"));
}

// The real main window in a game folder of its own, logging into
// launcher/events.log there.
class WindowFixture
{
public:
    explicit WindowFixture(const QByteArray &languageFile, const QStringList &arguments = {QStringLiteral("en")},
                           const QString &fileName = QStringLiteral("config_en.json"))
    {
        game.touch(QStringLiteral("launcher/.config/") + fileName, languageFile);
        // A game folder: the launcher refuses to work outside one.
        QDir().mkpath(game.path(QStringLiteral("Data")));
        tess::log().open(game.path(QStringLiteral("launcher/events.log")));
        arguments_ = arguments;
    }
    ~WindowFixture()
    {
        window.reset();
        tess::log().close();
    }

    // Builds the window; false when the language file was refused.
    bool build()
    {
        try {
            window = std::make_unique<MainWindow>(arguments_);
        } catch (const tess::UnusableLanguageFile &) {
            return false;
        }
        return true;
    }

    // Log messages without time stamps, as "LEVEL | text".
    QStringList messages() const { return game.logMessages(); }
    int count(const QString &message) const { return messages().count(message); }
    // Forgets what was logged so far.
    void clearLog() const
    {
        tess::log().close();
        QFile::remove(game.path(QStringLiteral("launcher/events.log")));
        tess::log().open(game.path(QStringLiteral("launcher/events.log")));
    }

    GameFolder game;
    std::unique_ptr<MainWindow> window;

private:
    QStringList arguments_;
};
