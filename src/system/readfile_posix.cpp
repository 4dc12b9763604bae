#include "system/bounded_read.h"
#include "system/native.h"

#include <climits>

namespace tess {

namespace {

// Where the descriptor's file lies, as the system found it when opening.
QString location_of(int fd, const QString &path)
{
#ifdef Q_OS_LINUX
    char buffer[PATH_MAX];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(link.constData(), buffer, sizeof buffer);
    if (n > 0 && n < ssize_t(sizeof buffer))
        return decode_path(buffer, int(n));
#else
    Q_UNUSED(fd)
#endif
    return real_path(path);
}

}  // namespace

ReadResult read_regular_file(const QString &path, qint64 limit)
{
    // Non-blocking: a FIFO by this name would otherwise wait for a writer.
    const int fd = ::open(native_name(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int code = errno;
        return {
            {}, code == ENOENT ? ReadResult::Fault::Missing : ReadResult::Fault::Unreadable, qt_error_string(code), {}};
    }
    struct stat st;
    ReadResult result;
    if (::fstat(fd, &st) != 0)
        result = {{}, ReadResult::Fault::Unreadable, qt_error_string(errno), {}};
    else if (!S_ISREG(st.st_mode))
        result = {{}, ReadResult::Fault::NotRegular, {}, {}};
    else
        result = read_bounded(limit, [fd](char *at, qint64 size) {
            ssize_t n;
            do
                n = ::read(fd, at, size_t(size));
            while (n < 0 && errno == EINTR);
            return qint64(n);
        });
    result.location = location_of(fd, path);
    ::close(fd);
    return result;
}

QString real_path(const QString &path)
{
    char *resolved = ::realpath(native_name(path).constData(), nullptr);
    if (!resolved)
        return {};
    QString text = decode_path(resolved, int(qstrlen(resolved)));
    ::free(resolved);
    return text;
}

}  // namespace tess

namespace tess {

ReadOnlyFile::~ReadOnlyFile() { close(); }

void ReadOnlyFile::close()
{
    if (handle_ >= 0)
        ::close(int(handle_));
    handle_ = -1;
}

ReadResult::Fault ReadOnlyFile::open(const QString &path)
{
    close();
    // Non-blocking: a FIFO by this name would otherwise wait for a writer.
    const int fd = ::open(native_name(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int code = errno;
        error_ = qt_error_string(code);
        return code == ENOENT ? ReadResult::Fault::Missing : ReadResult::Fault::Unreadable;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error_ = qt_error_string(errno);
        ::close(fd);
        return ReadResult::Fault::Unreadable;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::Fault::NotRegular;
    }
    handle_ = fd;
    return ReadResult::Fault::None;
}

qint64 ReadOnlyFile::size()
{
    struct stat st;
    if (handle_ < 0 || ::fstat(int(handle_), &st) != 0)
        return -1;
    return qint64(st.st_size);
}

qint64 ReadOnlyFile::read_at(quint64 pos, char *into, qint64 bytes)
{
    if (handle_ < 0) {
        error_ = qt_error_string(EBADF);
        return -1;
    }
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t n = ::pread(int(handle_), into + done, size_t(bytes - done), off_t(pos + quint64(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = qt_error_string(errno);
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

}  // namespace tess
