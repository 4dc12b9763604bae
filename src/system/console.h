#pragma once

#include <QByteArray>

// The console a command-line run talks to. A Windows GUI program has none
// of its own: it writes to the one it was started from, unless its output
// was redirected. Elsewhere these are the standard streams.
namespace tess::console {

void attach_parent();
void out(const QByteArray &utf8);
void err(const QByteArray &utf8);

}  // namespace tess::console
