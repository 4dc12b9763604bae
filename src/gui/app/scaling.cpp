#include "gui/app/scaling.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QtGui/private/qhighdpiscaling_p.h>

#include <algorithm>
#include <cmath>

namespace tess::scaling {

namespace {

// The resolution the pictures, sizes and fonts of the skin are made for.
constexpr double kBaseDpi = 96.0;

void scale_screen(QScreen *screen, const QSize &windowSize)
{
    // Read before any factor is set, so both are the platform's own values:
    // Xft.dpi (or QT_FONT_DPI) on X11, LogPixels on Windows; device pixels.
    const double factor = factor_for(screen->logicalDotsPerInch(), screen->availableGeometry().size(), windowSize);
    // A factor of 1 leaves Qt's scaling off altogether: the 96-DPI window
    // stays exactly as it always was.
    if (factor != 1.0)
        QHighDpiScaling::setScreenFactor(screen, factor);
}

}  // namespace

void prepare()
{
    // The factor comes from the screen's font resolution alone, set per
    // screen below; without scaling on, fonts then come out at 96 DPI.
    qputenv("QT_AUTO_SCREEN_SCALE_FACTOR", "0");
    qputenv("QT_SCALE_FACTOR", "1");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_DEVICE_PIXEL_RATIO");
    qunsetenv("QT_ENABLE_HIGHDPI_SCALING");
}

double factor_for(double logicalDpi, const QSize &available, const QSize &windowSize)
{
    // Desktops scale in steps of 12.5 % at the finest. A resolution between
    // steps is not a scale somebody chose: X11 without Xft.dpi reports one
    // from the screen's size in millimetres (100 DPI under Xvfb), and a
    // window 4 % larger would only blur it. So the nearest step counts.
    const double steps = std::round(logicalDpi / kBaseDpi * 8.0) / 8.0;
    double factor = std::max(1.0, steps);
    if (!available.isEmpty() && !windowSize.isEmpty()) {
        const double fits =
            std::min(double(available.width()) / windowSize.width(), double(available.height()) / windowSize.height());
        factor = std::min(factor, std::max(1.0, fits));
    }
    return factor;
}

void apply(const QSize &windowSize)
{
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        scale_screen(screen, windowSize);
    QObject::connect(qApp, &QGuiApplication::screenAdded, qApp,
                     [windowSize](QScreen *screen) { scale_screen(screen, windowSize); });
}

}  // namespace tess::scaling
