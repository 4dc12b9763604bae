#pragma once

#include "cli/output.h"

#include <QStringList>

// The text commands, one file each. `args` are those after the command's
// option; each returns the exit status.
namespace tess::cli {

int help_command(const QStringList &args, Output &out);
int list_command(const QStringList &args, Output &out);
int set_command(const QStringList &args, Output &out);
int check_command(const QStringList &args, Output &out);

}  // namespace tess::cli
