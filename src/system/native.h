#pragma once

// The operating system's own interfaces, for the room's implementation files
// only; everything else sees the system through system/system.h.
#include "system/system.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>
#include <system_error>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif
#endif

namespace tess {

// A path as the system's calls take it: on POSIX the name's own bytes (as
// encode_path() gives them), on Windows UTF-16 with '\' separators.
#ifdef Q_OS_WIN
using NativeName = std::wstring;
#else
using NativeName = QByteArray;
#endif

// The one way every primitive turns the program's path text into a NativeName.
NativeName native_name(const QString &path);

}  // namespace tess
