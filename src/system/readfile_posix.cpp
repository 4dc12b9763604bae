#include "system/bounded_read.h"
#include "system/native.h"

namespace tess {

ReadResult read_regular_file(const QString &path, qint64 limit)
{
    // Non-blocking: a FIFO by this name would otherwise wait for a writer.
    const int fd = ::open(native_name(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int code = errno;
        return {{}, code == ENOENT ? ReadResult::Fault::Missing : ReadResult::Fault::Unreadable, qt_error_string(code)};
    }
    struct stat st;
    ReadResult result;
    if (::fstat(fd, &st) != 0)
        result = {{}, ReadResult::Fault::Unreadable, qt_error_string(errno)};
    else if (!S_ISREG(st.st_mode))
        result = {{}, ReadResult::Fault::NotRegular, {}};
    else
        result = read_bounded(limit, [fd](char *at, qint64 size) {
            ssize_t n;
            do
                n = ::read(fd, at, size_t(size));
            while (n < 0 && errno == EINTR);
            return qint64(n);
        });
    ::close(fd);
    return result;
}

}  // namespace tess
