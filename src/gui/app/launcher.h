#pragma once

namespace tess {

// The whole start-up sequence; returns the process's exit status.
int run_launcher(int argc, char *argv[]);

}  // namespace tess
