#include "system/readfile.h"

#include "system/system.h"
#include "system/path.h"

#include <QFile>
#include <QFileInfo>

namespace tess {

namespace {

// Reads up to `limit` bytes, and one more to tell whether the file is larger.
template <typename Read> ReadResult read_bounded(qint64 limit, Read read)
{
    ReadResult result;
    result.bytes.resize(int(qMin<qint64>(limit + 1, 1 << 16)));
    qint64 have = 0;
    for (;;) {
        if (have == result.bytes.size()) {
            if (have > limit)
                break;
            result.bytes.resize(int(qMin<qint64>(limit + 1, have * 2)));
        }
        const qint64 n = read(result.bytes.data() + have, result.bytes.size() - have);
        if (n < 0) {
            result.fault = ReadResult::Fault::Unreadable;
            result.error = qt_error_string(-1);
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break;
        have += n;
    }
    result.bytes.resize(int(qMin(have, limit)));
    if (have > limit)
        result.fault = ReadResult::Fault::TooLarge;
    return result;
}

}  // namespace

#ifdef Q_OS_WIN

ReadResult read_regular_file(const QString &path, qint64 limit)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {{}, ReadResult::Fault::Missing, {}};
    if (!info.isFile())
        return {{}, ReadResult::Fault::NotRegular, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, ReadResult::Fault::Unreadable, file.errorString()};
    return read_bounded(limit, [&file](char *at, qint64 size) { return file.read(at, size); });
}

#else

ReadResult read_regular_file(const QString &path, qint64 limit)
{
    // Non-blocking: a FIFO by this name would otherwise wait for a writer.
    const int fd = ::open(encode_path(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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

#endif

}  // namespace tess
