#pragma once

#include <QStringList>

class QTextStream;

namespace tess {

// `tessarine --check [LANG]`: checks every patch archive in the launcher's
// folder without a window and writes one line per archive
// ("<path from the game folder>\t<state>\t<reason>") and a summary, the
// reasons in the texts of language LANG (the system's language without
// one). `args` starts with "--check". Returns the exit status: 0 when every
// archive is sound, 1 otherwise.
int check_command(const QStringList &args, QTextStream &out);

}  // namespace tess
