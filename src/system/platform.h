#pragma once

#include <QtGlobal>

#include <cstdlib>  // defines __GLIBC__ where it is glibc
#ifdef __GLIBC__
#include <malloc.h>
#endif

// Facts about the platform that more than one module needs.
namespace tess::platform {

#ifdef Q_OS_WIN
inline constexpr char lineEnd[] = "\r\n";
#else
inline constexpr char lineEnd[] = "\n";
#endif

// Text drawn by Qt's own FreeType engine, as on Linux: the native Windows engine hints glyphs and
// their advances fully, so every text would come out wider and crisper than the same window on
// Linux. Called before the application object exists; a platform the user chose is kept.
inline void use_freetype_text()
{
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#endif
}

// Hands freed memory back to the system. glibc keeps freed heap pages for
// reuse, and start-up frees megabytes it never needs again (the picture
// decoder's buffers above all). Nothing to do with other C libraries.
inline void release_free_memory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

}  // namespace tess::platform
