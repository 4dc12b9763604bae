// A d3d9.dll that tells itself apart from Wine's own: the game stand-in,
// loading "d3d9.dll", finds this export only in this one (see standin.cpp).
extern "C" __declspec(dllexport) int tessarine_standin_d3d9() { return 1; }
