#pragma once

#include <QByteArray>
#include <QString>

// The one translation between the program's paths (text, '/'-separated) and the system's names.
namespace tess {

// The program's own text files in the system's 8-bit encoding, every byte
// kept: on POSIX as decode_path() and encode_path() do (UTF-8, stray bytes
// kept apart), on Windows in the ANSI code page.
QString decode_local(const QByteArray &bytes);
QByteArray encode_local(const QString &text);

#ifndef Q_OS_WIN
// POSIX names are bytes and need not be valid UTF-8 (a name copied from a
// system with another code page). Each byte that is not part of valid UTF-8
// becomes one of the lone surrogates U+DC80..U+DCFF in the text, which valid
// UTF-8 never yields, so every name comes back to its own bytes unchanged.
// Every path the program finds, and every system call it makes with one,
// goes through these two.
QString decode_path(const char *bytes, int size);
QByteArray encode_path(const QString &text);
#endif

}  // namespace tess
