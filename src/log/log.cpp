#include "log/log.h"

#include "system/system.h"

namespace tess {

Logger::Logger(const QString &name) : name_(name) {}

bool Logger::open(const QString &path)
{
    close();
    file_.setFileName(path);
    return file_.open(QIODevice::WriteOnly | QIODevice::Append);
}

void Logger::close()
{
    if (file_.isOpen())
        file_.close();
}

QString Logger::levelName(Level level)
{
    switch (level) {
    case Level::Debug: return QStringLiteral("DEBUG");
    case Level::Info: return QStringLiteral("OK");
    case Level::Warning: return QStringLiteral("WARNING");
    case Level::Error: return QStringLiteral("ERROR");
    case Level::Critical: return QStringLiteral("CRITICAL");
    }
    return QString();
}

QByteArray Logger::formatLine(Level level, const QDateTime &when, const QString &text)
{
    const QString line = QStringLiteral("  ") + when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
        + QStringLiteral(" | ") + levelName(level).leftJustified(8, QLatin1Char(' ')) + QStringLiteral(" | ") + text
        + QLatin1String(platform::lineEnd);
    return line.toUtf8();
}

void Logger::write(Level level, const QString &text)
{
    if (!file_.isOpen())
        return;
    // A line that cannot be written is lost; the caller goes on.
    file_.write(formatLine(level, QDateTime::currentDateTime(), text));
    file_.flush();
}

Logger &log()
{
    static Logger logger(QStringLiteral("-THIS-"));
    return logger;
}

bool setup_log() { return log().open(QStringLiteral("events.log")); }

}  // namespace tess
