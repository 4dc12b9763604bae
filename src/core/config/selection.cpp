#include "core/config/selection.h"

#include "core/search/wildcard.h"

#include <QLocale>

namespace tess {

QString language_code(const QStringList &arguments)
{
    return arguments.isEmpty() ? QLocale::system().name().toLower() : arguments.first();
}

QStringList language_candidates(const QString &configDir)
{
    QStringList names;
    for (const QString &path : glob(configDir + QStringLiteral("/*.json")))
        names << file_name(path);
    return names;
}

QString choose_language_file(const QStringList &candidates, const QString &locale)
{
    for (const QString &name : candidates)
        if (name.contains(locale, Qt::CaseSensitive))
            return name;
    const QString language = locale.section(QLatin1Char('_'), 0, 0);
    for (const QString &name : candidates)
        if (name.contains(language, Qt::CaseSensitive))
            return name;
    return QStringLiteral("config_en.json");
}

}  // namespace tess
