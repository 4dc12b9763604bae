#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// The lines every start writes, in order, as "LEVEL | text": one list for
// the tests and scripts/test --windows (tests/data/startup-milestones.txt).
inline QStringList startup_milestones(const QString &locale, const QString &languageFile)
{
    QFile f(QStringLiteral(TESSARINE_SOURCE_DIR "/tests/data/startup-milestones.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("(tests/data/startup-milestones.txt is missing)")};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.replaceInStrings(QStringLiteral("@LOCALE@"), locale);
    lines.replaceInStrings(QStringLiteral("@FILE@"), languageFile);
    return lines;
}
