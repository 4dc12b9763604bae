#include "core/session/archive_watch.h"

#include "core/actions/game.h"

#include <QDateTime>
#include <QThread>

Q_DECLARE_METATYPE(tess::ArchiveReport)

namespace tess {

namespace {

// How often the check asks whether the game has started meanwhile.
constexpr qint64 kGameProbeMs = 1000;
constexpr unsigned long kPausedWaitMs = 200;

}  // namespace

ArchiveWatch::ArchiveWatch(QObject *parent) : QObject(parent) { qRegisterMetaType<ArchiveReport>(); }

ArchiveWatch::~ArchiveWatch()
{
    stop_ = true;
    if (thread_)
        thread_->wait();
}

bool ArchiveWatch::keep_going()
{
    // The game reads its archives at start: the check waits until it is gone.
    for (;;) {
        if (stop_)
            return false;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (lastProbeMs_ >= 0 && now - lastProbeMs_ < kGameProbeMs)
            return true;
        if (!game_holds_archive()) {
            lastProbeMs_ = now;
            return true;
        }
        QThread::msleep(kPausedWaitMs);
    }
}

void ArchiveWatch::start()
{
    if (thread_)
        return;
    thread_ = QThread::create([this] {
        const ChecksumList list = ChecksumList::read();
        ArchiveCache cache = ArchiveCache::load();
        const ArchiveReport report = check_patch_archives(list, cache, [this] { return keep_going(); });
        if (!report.finished)
            return;
        cache.save();
        emit checked(report);
    });
    thread_->setParent(this);
    thread_->start(QThread::LowestPriority);
}

}  // namespace tess
