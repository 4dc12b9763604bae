#include "cli/output.h"

#include "cli/cli.h"
#include "system/system.h"

namespace tess::cli {

void Output::say(const QString &text)
{
    if (text_)
        *text_ += text;
    else if (!console::out(text.toUtf8()))
        lost_ = true;
}

void Output::complain(const QString &text)
{
    (void)console::err(QByteArrayLiteral("tessarine: ") + text.toUtf8() + '\n');
}

int Output::finish(int status)
{
    if (!lost_)
        return status;
    complain(QStringLiteral("the output could not be written"));
    return kExitFailed;
}

}  // namespace tess::cli
