#pragma once

class QSize;

// The window's skin is drawn for 96 DPI. On a scaled desktop (Windows'
// display scaling, Xft.dpi under GNOME and KDE) the whole window is drawn
// at the desktop's own factor, and nothing else changes size on its own.
namespace tess::scaling {

// Before the application object exists: keep Qt from picking a factor of
// its own (it rounds, or reads the screen's physical size).
void prepare();

// Once the application object exists, before any window: every screen
// gets the factor of its font resolution, reduced where a window of
// `windowSize` would not fit on it.
void apply(const QSize &windowSize);

// The factor for a screen of `logicalDpi` whose free area is `available`
// device pixels, for a window of `windowSize` at 96 DPI.
double factor_for(double logicalDpi, const QSize &available, const QSize &windowSize);

}  // namespace tess::scaling
