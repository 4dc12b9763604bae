#include "gui/patches/archive_watch.h"

#include "core/actions/game.h"
#include "log/log.h"
#include "gui/app/mainwindow.h"
#include "core/patches/archive_texts.h"
#include "gui/patches/items.h"

#include <QDateTime>
#include <QDir>
#include <QMap>
#include <QThread>

using tess::log;

Q_DECLARE_METATYPE(tess::ArchiveReport)

namespace {

// How often the check asks whether the game has started meanwhile.
constexpr qint64 kGameProbeMs = 1000;
constexpr unsigned long kPausedWaitMs = 200;

}  // namespace

ArchiveWatch::ArchiveWatch(MainWindow *window) : window_(window)
{
    qRegisterMetaType<tess::ArchiveReport>();
    connect(this, &ArchiveWatch::checked, this, &ArchiveWatch::show, Qt::QueuedConnection);
}

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
        if (!tess::game_holds_archive()) {
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
        const tess::ChecksumList list = tess::ChecksumList::read();
        tess::ArchiveCache cache = tess::ArchiveCache::load();
        const tess::ArchiveReport report = tess::check_patch_archives(list, cache, [this] { return keep_going(); });
        if (!report.finished)
            return;
        cache.save();
        emit checked(report);
    });
    thread_->setParent(this);
    thread_->start(QThread::LowestPriority);
}

void ArchiveWatch::show(const tess::ArchiveReport &report)
{
    const tess::ArchiveTexts texts = tess::archive_texts(window_->langfile);
    QMap<QString, QStringList> lines;
    for (const tess::ArchiveResult &r : report.results) {
        if (r.check.sound())
            continue;
        const QString reason = tess::describe(r.check, texts);
        log().warning(QStringLiteral("Архив патча неисправен: ") + QDir::toNativeSeparators(r.path)
                      + QStringLiteral(" — ") + reason);
        lines[r.letter] << r.path.section(QLatin1Char('/'), -1) + QStringLiteral(": ") + reason;
    }
    for (StaticItem *row : window_->patchFrames)
        if (auto *patch = dynamic_cast<DynamicItem *>(row))
            patch->show_archive_problems(lines.value(patch->key));
    log().debug(
        QStringLiteral("Архивы патчей проверены: %1 за %2 мс").arg(report.results.size()).arg(report.milliseconds));
}
