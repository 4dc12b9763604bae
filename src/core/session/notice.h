#pragma once

#include <QString>

namespace tess {

// What the player reads when a click does not do what was asked (and what
// the cleaning did): the session logs it and hands it to its face, the
// window's notice or the command line's stderr.
struct Notice {
    enum class Kind {
        NotGameFolder,  // stays while it holds
        GameRunning,
        ProbeMissing,
        SwitchFailed,
        LaunchFailed,
        LinkFailed,
        Cleaned,
        CleanStopped,
    };
    Kind kind;
    QString text;  // in the language file's words, the details filled in
    bool lasting() const { return kind == Kind::NotGameFolder; }
};

}  // namespace tess
