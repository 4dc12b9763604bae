#pragma once

#include "core/patches/archive_check.h"

#include <QObject>

#include <atomic>

class QThread;

namespace tess {

// The check of every patch archive, once, on a thread of its own at the
// lowest priority, paused while the game runs. Its report comes back on the
// thread that owns the watch.
class ArchiveWatch : public QObject
{
    Q_OBJECT

public:
    explicit ArchiveWatch(QObject *parent = nullptr);
    // Stops the check between two reads and waits for its thread.
    ~ArchiveWatch() override;

    ArchiveWatch(const ArchiveWatch &) = delete;
    ArchiveWatch &operator=(const ArchiveWatch &) = delete;

    void start();

signals:
    void checked(const tess::ArchiveReport &report);

private:
    bool keep_going();

    QThread *thread_ = nullptr;
    std::atomic<bool> stop_{false};
    qint64 lastProbeMs_ = -1;
};

}  // namespace tess
