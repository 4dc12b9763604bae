#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QtTest>

#include <algorithm>

// The real launcher as a process in the X server of the test (xvfb-run),
// driven with input events through the server.
class LauncherProcess
{
public:
    // Where the buttons sit inside the 830×570 window: the centres of
    // exit, run_wow and clear_cache_and_trash.
    static constexpr QPoint exitButton{750, 45};
    static constexpr QPoint runButton{617, 520};
    static constexpr QPoint cleanButton{617, 470};

    LauncherProcess() { process_.setProcessChannelMode(QProcess::MergedChannels); }
    ~LauncherProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    void setEnvironment(const QProcessEnvironment &environment) { process_.setProcessEnvironment(environment); }

    void start(const QString &program, const QString &workingDir, const QStringList &arguments = {})
    {
        process_.setWorkingDirectory(workingDir);
        process_.start(program, arguments);
        QVERIFY2(process_.waitForStarted(10000), qPrintable(process_.errorString()));
    }

    // The X window of the launcher once it is mapped; empty when the
    // process ended first or nothing showed up in time.
    QString waitForWindow(int timeoutMs = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            const QString id = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), QStringLiteral("^Tessarine$")})
                                   .section(QLatin1Char('\n'), 0, 0)
                                   .trimmed();
            if (!id.isEmpty())
                return id;
            if (process_.state() == QProcess::NotRunning)
                return QString();
            process_.waitForFinished(200);
        }
        return QString();
    }

    void click(const QString &window, QPoint at)
    {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(at.x()),
                 QString::number(at.y())});
        QThread::msleep(150);
        xdotool({QStringLiteral("click"), QStringLiteral("1")});
    }

    // The exit status, or -1 when the process did not end in time.
    int waitForExit(int timeoutMs = 20000)
    {
        if (!process_.waitForFinished(timeoutMs))
            return -1;
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    QByteArray output() { return process_.readAll(); }
    qint64 processId() const { return process_.processId(); }

    static QString xdotool(const QStringList &arguments)
    {
        QProcess p;
        p.start(QStringLiteral("xdotool"), arguments);
        p.waitForFinished(10000);
        return QString::fromLocal8Bit(p.readAllStandardOutput());
    }

private:
    QProcess process_;
};

// A screen reader's view of the programs started after it: the session's
// accessibility bus (AT-SPI) and its registry, woken first as a desktop wakes
// them at login, and a client that reads what the bus exposes
// (tests/support/spoken.py). The test runs in a D-Bus session of its own
// (dbus-run-session around the X server).
class ScreenReader
{
public:
    ScreenReader()
    {
        bus_.start(QStringLiteral(TESSARINE_ATSPI_BUS_LAUNCHER), {QStringLiteral("--launch-immediately")});
        if (!bus_.waitForStarted(10000))
            return;
        // The bus's address on the X server's root window is what programs
        // started afterwards find it by.
        QElapsedTimer timer;
        timer.start();
        while (
            timer.elapsed() < 10000
            && !run({QStringLiteral("xprop"), QStringLiteral("-root"), QStringLiteral("AT_SPI_BUS")}).contains("unix:"))
            QThread::msleep(100);
        ready_ = timer.elapsed() < 10000;
        // The first question starts the registry that programs report to.
        spoken(0);
    }
    ~ScreenReader()
    {
        bus_.terminate();
        if (!bus_.waitForFinished(5000))
            bus_.kill();
        run({QStringLiteral("xprop"), QStringLiteral("-root"), QStringLiteral("-remove"),
             QStringLiteral("AT_SPI_BUS")});
    }
    ScreenReader(const ScreenReader &) = delete;
    ScreenReader &operator=(const ScreenReader &) = delete;

    bool ready() const { return ready_; }

    // The texts it reads in the showing window of the process `pid`.
    static QStringList spoken(qint64 pid)
    {
        return QString::fromUtf8(
                   run({QStringLiteral(TESSARINE_SOURCE_DIR "/tests/support/spoken.py"), QString::number(pid)}))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Whether a text it reads holds every one of `parts`.
    static bool reads(const QStringList &spoken, const QStringList &parts)
    {
        return std::any_of(spoken.begin(), spoken.end(), [&parts](const QString &text) {
            return std::all_of(parts.begin(), parts.end(), [&text](const QString &p) { return text.contains(p); });
        });
    }

private:
    static QByteArray run(const QStringList &command)
    {
        QProcess p;
        p.start(command.first(), command.mid(1));
        p.waitForFinished(20000);
        return p.readAllStandardOutput();
    }

    QProcess bus_;
    bool ready_ = false;
};
