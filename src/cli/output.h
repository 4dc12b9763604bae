#pragma once

#include <QString>

namespace tess::cli {

// What a command prints: its text on stdout, its complaints on stderr
// behind the program's name. A text that did not arrive whole turns the
// command's status into a failure.
class Output
{
public:
    Output() = default;
    // Collects what is said in `text` instead (for tests).
    explicit Output(QString *text) : text_(text) {}

    void say(const QString &text);
    void complain(const QString &text);
    // `status`, or kExitFailed with a line on stderr when some text was lost.
    int finish(int status);

private:
    QString *text_ = nullptr;
    bool lost_ = false;
};

}  // namespace tess::cli
