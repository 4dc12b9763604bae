#include "system/system.h"

#include <cstdio>

namespace tess::console {

namespace {

void write(std::FILE *stream, const QByteArray &utf8)
{
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stream);
    std::fflush(stream);
}

}  // namespace

void attach_parent() {}

void out(const QByteArray &utf8) { write(stdout, utf8); }

void err(const QByteArray &utf8) { write(stderr, utf8); }

}  // namespace tess::console
