#include "core/config/selection.h"

#include "core/search/wildcard.h"

#include <QLocale>

namespace tess {

QString language_code(const QStringList &arguments)
{
    return arguments.isEmpty() ? QLocale::system().name().toLower() : arguments.first();
}

namespace {

// "ru_ru" of config_ru_ru.json; a name without the prefix gives its whole stem.
QString language_of(const QString &name)
{
    QString code = name.left(name.size() - int(qstrlen(".json")));
    const QLatin1String prefix("config_");
    if (code.startsWith(prefix, Qt::CaseInsensitive))
        code.remove(0, prefix.size());
    return code;
}

QString language_part(const QString &code) { return code.section(QLatin1Char('_'), 0, 0); }

}  // namespace

QStringList language_candidates(const QString &configDir)
{
    QStringList names;
    for (const QString &path : glob(configDir + QStringLiteral("/*.json")))
        names << file_name(path);
    return names;
}

QString choose_language_file(const QStringList &candidates, const QString &locale)
{
    // Compared with the language the name gives, never with the whole name:
    // "c" (the C locale) and "fi" are in every "config_…".
    for (const QString &name : candidates)
        if (language_of(name) == locale)
            return name;
    const QString language = language_part(locale);
    for (const QString &name : candidates)
        if (!language.isEmpty() && language_part(language_of(name)) == language)
            return name;
    return QStringLiteral("config_en.json");
}

}  // namespace tess
