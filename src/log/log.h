#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

namespace tess {

enum class Level { Debug, Info, Warning, Error, Critical };

// The program's event log: one line per message, appended to a file and
// flushed at once, so a crash never loses what was already reported.
class Logger
{
public:
    explicit Logger(const QString &name);

    // Opens the sink in append mode. When it cannot be opened the logger
    // stays usable and drops every message: the program runs on without a log.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    QString name() const { return name_; }

    void debug(const QString &text) { write(Level::Debug, text); }
    void info(const QString &text) { write(Level::Info, text); }
    void warning(const QString &text) { write(Level::Warning, text); }
    void error(const QString &text) { write(Level::Error, text); }
    void critical(const QString &text) { write(Level::Critical, text); }

    void write(Level level, const QString &text);

    static QString levelName(Level level);
    // The whole record, line end included, as UTF-8 bytes.
    static QByteArray formatLine(Level level, const QDateTime &when, const QString &text);

private:
    QString name_;
    QFile file_;
};

// The shared logger of the process.
Logger &log();

// Sets up the shared logger on "events.log" in the working directory.
bool setup_log();

}  // namespace tess
