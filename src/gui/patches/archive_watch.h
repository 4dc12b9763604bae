#pragma once

#include "core/patches/archive_check.h"

#include <QObject>

#include <atomic>

class MainWindow;
class QThread;

// The check of every patch archive after the window is first shown: on a
// thread of its own at the lowest priority, paused while the game runs,
// its results shown on the rows of the broken patches.
class ArchiveWatch : public QObject
{
    Q_OBJECT

public:
    explicit ArchiveWatch(MainWindow *window);
    // Stops the check between two reads and waits for its thread.
    ~ArchiveWatch() override;

    ArchiveWatch(const ArchiveWatch &) = delete;
    ArchiveWatch &operator=(const ArchiveWatch &) = delete;

    void start();

signals:
    void checked(const tess::ArchiveReport &report);

private:
    void show(const tess::ArchiveReport &report);
    bool keep_going();

    MainWindow *window_;
    QThread *thread_ = nullptr;
    std::atomic<bool> stop_{false};
    qint64 lastProbeMs_ = -1;
};
