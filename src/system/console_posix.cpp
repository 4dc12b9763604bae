#include "system/system.h"

#include <cstdio>

namespace tess::console {

namespace {

bool write(std::FILE *stream, const QByteArray &utf8)
{
    const size_t written = std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stream);
    return std::fflush(stream) == 0 && written == size_t(utf8.size());
}

}  // namespace

void attach_parent() {}

bool out(const QByteArray &utf8) { return write(stdout, utf8); }

bool err(const QByteArray &utf8) { return write(stderr, utf8); }

}  // namespace tess::console
