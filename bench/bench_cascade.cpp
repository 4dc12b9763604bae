// One user change that cascades through a chain of conditions over 26 patch
// rows: switching the first patch off switches off every other one in the
// same pass. Reports the scans it took beside the time.
#include "log/log.h"
#include "core/session/session.h"
#include "gui/app/mainwindow.h"
#include "core/config/langfile.h"
#include "gui/patches/items.h"
#include "benchtree.h"
#include "support/languagefile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string letter(int i) { return tess::ALPHABET.at(i).toStdString(); }

// The tests' plain rows, with row i needing row i-1 fully on.
QByteArray chain_language_file()
{
    tess::Json doc = tess::Json::parse(language_file(plain_patches(26)).toStdString());
    tess::Json &dynamic = doc["patches"]["dynamic"];
    for (int i = 1; i < 26; ++i) {
        tess::Json conditions = tess::Json::array();
        conditions.push_back({letter(i - 1) + "11", "needs the one before"});
        dynamic[letter(i)]["conditions"] = conditions;
    }
    return QByteArray::fromStdString(doc.dump());
}

long scans_counted = 0;  // by the scan hook

}  // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 15;
    std::vector<double> times;
    long scans = 0;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir dir;
        const QString game = dir.path() + QStringLiteral("/game");
        for (int i = 0; i < 26; ++i) {
            const QString key = tess::ALPHABET.at(i);
            touch(game + QStringLiteral("/Data/patch-") + key + QStringLiteral(".mpq"));
            touch(game + QStringLiteral("/Data/ruRU/patch-ruRU-") + key + QStringLiteral(".mpq"));
        }
        add_unrelated_files(game + QStringLiteral("/Data"));
        QDir().mkpath(game + QStringLiteral("/launcher/.config"));
        QFile lang(game + QStringLiteral("/launcher/.config/config_en.json"));
        lang.open(QIODevice::WriteOnly);
        lang.write(chain_language_file());
        lang.close();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(game + QStringLiteral("/launcher"));
        tess::log().open(QStringLiteral("events.log"));
        {
            MainWindow window({QStringLiteral("en")});
            auto *first = static_cast<DynamicItem *>(window.patchFrames().first());
            scans_counted = 0;
            tess::set_scan_hook([] { ++scans_counted; });
            QElapsedTimer timer;
            timer.start();
            first->comboBox->setCurrentIndex(1);
            times.push_back(timer.nsecsElapsed() / 1e6);
            tess::set_scan_hook(nullptr);
            scans = scans_counted;
            int off = 0;
            for (StaticItem *row : window.patchFrames())
                if (auto *d = dynamic_cast<DynamicItem *>(row);
                    d && window.session().status().value(d->key()) == tess::StatusPair{0, 0})
                    ++off;
            if (run == 0)
                std::printf("patches off after the change: %d (the chosen one and %d by conditions)\n", off, off - 1);
        }
        tess::log().close();
        QDir::setCurrent(previous);
    }
    std::sort(times.begin(), times.end());
    std::printf("scans for one change: %ld (goal: 1 + patches switched off by conditions = 26)\n", scans);
    std::printf("time of the change over %d runs: median %.1f ms, min %.1f ms, max %.1f ms (goal: under 50 ms)\n", runs,
                times[times.size() / 2], times.front(), times.back());
    return 0;
}
