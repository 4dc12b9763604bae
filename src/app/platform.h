#pragma once

#include <QtGlobal>

// Facts about the platform that more than one module needs.
namespace tess::platform {

#ifdef Q_OS_WIN
inline constexpr char lineEnd[] = "\r\n";
#else
inline constexpr char lineEnd[] = "\n";
#endif

}  // namespace tess::platform
