#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include "support/platform.h"

// The text line end the platform's files use, written out here rather than
// taken from the program, so that a wrong one in the program shows.
inline QByteArray expected_line_end() { return kWindows ? "\r\n" : "\n"; }

// Makes the link or ends the test: failed where links are always possible,
// skipped on Windows, where they may need rights or a file system that has them.
#define REQUIRE_SYMLINK(target, link)                                                                                  \
    do {                                                                                                               \
        const bool made = make_symlink(target, link);                                                                  \
        if (!made && kWindows)                                                                                         \
            QSKIP("this system makes no symbolic links here");                                                         \
        QVERIFY2(made, "no symbolic link made");                                                                       \
    } while (false)

// A game folder of its own for one test: <tmp>/game with the launcher's
// folder <tmp>/game/launcher as the working directory, as the launcher
// runs. Paths given to the helpers are relative to the game folder.
class GameFolder
{
public:
    GameFolder() : previous_(QDir::currentPath())
    {
        QDir(dir_.path()).mkpath(QStringLiteral("game/launcher/.config"));
        QDir::setCurrent(launcher());
    }
    ~GameFolder() { QDir::setCurrent(previous_); }

    GameFolder(const GameFolder &) = delete;
    GameFolder &operator=(const GameFolder &) = delete;

    QString root() const { return dir_.path() + QStringLiteral("/game"); }
    QString launcher() const { return root() + QStringLiteral("/launcher"); }
    QString path(const QString &rel) const { return root() + QLatin1Char('/') + rel; }

    void touch(const QString &rel, const QByteArray &content = QByteArray()) const
    {
        const QString p = path(rel);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(p));
        f.write(content.isNull() ? rel.toUtf8() : content);
    }
    void mkdir(const QString &rel) const { QDir().mkpath(path(rel)); }
    bool exists(const QString &rel) const { return QFileInfo::exists(path(rel)) || QFileInfo(path(rel)).isSymLink(); }
    QByteArray read(const QString &rel) const { return readFile(path(rel)); }
    static QByteArray readFile(const QString &absolute)
    {
        QFile f(absolute);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The launcher's log without its time stamps, one "LEVEL | text" a line.
    QStringList logMessages() const
    {
        QStringList result;
        const QString log = QString::fromUtf8(read(QStringLiteral("launcher/events.log")));
        for (QString line : log.split(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char('\r')))  // the Windows line end
                line.chop(1);
            if (line.size() > 24)
                result << line.mid(24).replace(QRegularExpression(QStringLiteral(" +\\| ")), QStringLiteral(" | "));
        }
        return result;
    }
    // Whether `expected` appear among `lines` in this order.
    static bool inOrder(const QStringList &lines, const QStringList &expected)
    {
        int at = -1;
        for (const QString &line : expected) {
            const int found = lines.indexOf(line, at + 1);
            if (found < 0)
                return false;
            at = found;
        }
        return true;
    }

    // The names in a folder of the game, sorted, hidden ones included.
    QStringList names(const QString &rel) const
    {
        return QDir(path(rel)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Name);
    }

    // Names as raw bytes, for names that are not valid UTF-8 (POSIX only).
    QByteArray nativePath(const QByteArray &rel) const { return QFile::encodeName(root()) + '/' + rel; }
    // Makes the file `rel` and its folders; false when the system refused.
    bool touchNative(const QByteArray &rel) const
    {
        for (int slash = rel.indexOf('/'); slash > 0; slash = rel.indexOf('/', slash + 1))
            if (!make_native_folder(nativePath(rel.left(slash))))
                return false;
        return make_native_file(nativePath(rel));
    }
    bool existsNative(const QByteArray &rel) const { return native_exists(nativePath(rel)); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Makes a file or folder immutable for the life of the guard, so that a
// rename or deletion fails even for root. Undone on every exit path.
class Immutable
{
public:
    explicit Immutable(const QString &path) : path_(path)
    {
        ok_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path_}) == 0;
    }
    ~Immutable()
    {
        if (ok_)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
    }
    bool ok() const { return ok_; }

private:
    QString path_;
    bool ok_ = false;
};

#define REQUIRE_IMMUTABLE(guard)                                                                                       \
    do {                                                                                                               \
        if (!(guard).ok())                                                                                             \
            QSKIP("chattr +i is not available on this file system");                                                   \
    } while (false)
