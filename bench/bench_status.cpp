// The scan of the patch files beside a plain recursive walk of the same
// tree, in one run: the walk is the floor that any scan has to pay.
#include "core/patches/patches.h"
#include "benchtree.h"
#include "platform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// 26 patches in Data and in two locale folders, and 10,000 unrelated files
// spread over nested folders.
class Tree
{
public:
    Tree()
    {
        const QString data = dir_.path() + QStringLiteral("/game/Data");
        for (char c = 'a'; c <= 'z'; ++c) {
            const QString l(QLatin1Char{c});
            touch(data + QStringLiteral("/patch-") + l
                  + (c % 3 ? QStringLiteral(".mpq") : QStringLiteral(".mpq.disabled")));
            touch(data + QStringLiteral("/ruRU/patch-ruRU-") + l + QStringLiteral(".mpq"));
            touch(data + QStringLiteral("/enGB/patch-enGB-") + l + QStringLiteral(".mpq.disabled"));
        }
        touch(data + QStringLiteral("/ruRU/patch-ruRU.mpq"));
        touch(data + QStringLiteral("/enGB/patch-enGB.mpq"));
        add_unrelated_files(data);
        QDir().mkpath(dir_.path() + QStringLiteral("/game/launcher"));
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path() + QStringLiteral("/game/launcher"));
    }
    ~Tree() { QDir::setCurrent(previous_); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

Tree &tree()
{
    static Tree t;
    return t;
}

void BM_get_status(benchmark::State &state)
{
    tree();
    for (auto _ : state)
        benchmark::DoNotOptimize(tess::get_status());
}
BENCHMARK(BM_get_status)->Unit(benchmark::kMillisecond);

void BM_plain_walk(benchmark::State &state)
{
    tree();
    for (auto _ : state) {
        int files = 0;
        QDirIterator it(QStringLiteral("../Data"), QDir::AllEntries | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            files += it.fileInfo().isFile() ? 1 : 0;
        }
        benchmark::DoNotOptimize(files);
    }
}
BENCHMARK(BM_plain_walk)->Unit(benchmark::kMillisecond);

// The floor: the system's listing alone, no names made, no matching.
void BM_raw_readdir_walk(benchmark::State &state)
{
    tree();
    for (auto _ : state)
        benchmark::DoNotOptimize(raw_walk("../Data"));
}
BENCHMARK(BM_raw_readdir_walk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
