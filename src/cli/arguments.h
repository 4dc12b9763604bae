#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace tess::cli {

// The arguments after a command's option: ROW=CHOICE pairs where the command
// takes them, and at most one language code.
struct Arguments {
    std::vector<QString> pairs;
    QStringList locale;  // empty (the system's) or the one code given
    QString error;       // empty when usable
};

enum class Pairs { Refused, Taken };

// `option` names the command in the messages ("--list").
Arguments parse_arguments(const QString &option, const QStringList &args, Pairs pairs);

// The first argument of a window's command line that is an option neither
// of this program nor of Qt's application object; empty when there is none.
// `args` come after the program's name.
QString unknown_window_option(const QStringList &args);

}  // namespace tess::cli
