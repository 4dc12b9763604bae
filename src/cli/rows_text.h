#pragma once

#include <QString>
#include <QStringList>

namespace tess {
class Session;
}  // namespace tess

namespace tess::cli {

// The rows as --list and --set print them: one tab-separated line per row in
// the window's order (all patches, fonts, DXVK, the patch rows): its name,
// its title, the choice it shows (??? for none), the choices with their
// numbers, and why it is switched off.
QString rows_text(const Session &session, const QStringList &notes = {});

// "0 On | 1 Off".
QString numbered(const QStringList &choices);

}  // namespace tess::cli
