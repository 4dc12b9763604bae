#include "cli/cli.h"
#include "gui/app/launcher.h"

// A text command runs without a display; anything else starts the window.
int main(int argc, char *argv[])
{
    if (const std::optional<int> status = tess::run_command_line(argc, argv))
        return *status;
    return tess::run_launcher(argc, argv);
}
