#pragma once

#include "app/log.h"
#include "app/mainwindow.h"
#include "config/fatal.h"
#include "patches/items.h"
#include "support/gamefolder.h"

#include <QFontDatabase>

#include <memory>

// Registers the bundle's fonts as the start-up does.
inline void register_fonts()
{
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_noRU_bold.otf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/friz_RU.ttf"));
}

// A language file in the form the tests build it: the fixed rows of the
// example and the given dynamic entries and default set.
inline QByteArray language_file(const QByteArray &dynamic, const QByteArray &defaults = "[]")
{
    return "{\"buttons\": [\"EXIT\", \"CLEAR CACHE AND TRASH\", \"RUN WOW\"],\n"
           " \"patches\": {\"static\": {\n"
           "   \"fonts\": {\"name\": \"Interface fonts (11)\", \"actions\": [\"On\", \"Off\"]},\n"
           "   \"dxvk\": {\"name\": \"DXVK\", \"actions\": [\"On\", \"On, no config\", \"Off\"]},\n"
           "   \"allpatches\": {\"name\": \"All patches\", \"actions\": [\"All on\", \"Defaults\", \"All off\"]},\n"
           "   \"default\": "
           + defaults + "},\n \"dynamic\": " + dynamic + "}}";
}

// `n` patch entries "<title> <letter>" in letter order, each with an on and
// an off choice and no conditions.
inline QByteArray plain_patches(int n, const QByteArray &title = "Patch")
{
    QByteArray dynamic = "{";
    for (int i = 0; i < n; ++i) {
        const QByteArray key = tess::ALPHABET.at(i).toLatin1();
        dynamic += (i ? ",\n" : "") + QByteArray("\"") + key + "\": {\"name\": \"" + title + " " + key
                   + "\", \"actions\": {\"On\": [1, 1], \"Off\": [0, 0]}, \"conditions\": [[]]}";
    }
    return dynamic + "}";
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
        tess::log().open(game.path(QStringLiteral("launcher/events.log")));
        // The class-wide counter assigns the fixed rows; each window here
        // is the first of its process as far as the rows know.
        StaticItem::static_num = 0;
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
