#include "app/gui/launcher.h"

int main(int argc, char *argv[]) { return tess::run_launcher(argc, argv); }
