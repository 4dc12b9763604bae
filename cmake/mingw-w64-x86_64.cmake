# Cross-building for 64-bit Windows with Debian's MinGW-w64 (posix thread model).
# The Qt for Windows comes from scripts/setup-windows; its prefix is TESSARINE_QT_PREFIX in the
# environment (read here, as this file is read again for every check CMake compiles).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# Libraries and headers of the target only; programs (moc, rcc) of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triple} $ENV{TESSARINE_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
