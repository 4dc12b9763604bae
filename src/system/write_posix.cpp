#include "system/native.h"

#include <QRandomGenerator>

namespace tess {

namespace {

WriteResult failure(int code) { return {false, code, qt_error_string(code)}; }

bool write_all(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

}  // namespace

WriteResult replace_file(const QString &path, const QByteArray &bytes)
{
    const NativeName final = native_name(path);
    const int slash = final.lastIndexOf('/');
    // Hidden, so that no listing of the folder takes it for one of its files.
    const QByteArray prefix = final.left(slash + 1) + '.' + final.mid(slash + 1) + ".new-";
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = prefix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // O_EXCL: a name planted meanwhile, a link included, is never opened.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failure(errno);
    }
    if (fd < 0)
        return failure(EEXIST);
    int code = 0;
    if (!write_all(fd, bytes))
        code = errno ? errno : EIO;
    // On the disk before the name points at it: a crash leaves the old file or the new one.
    else if (::fsync(fd) != 0 && errno != EINVAL)
        code = errno;
    if (::close(fd) != 0 && code == 0 && errno != EINTR)
        code = errno;
    if (code == 0 && ::rename(temporary.constData(), final.constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(temporary.constData());
        return failure(code);
    }
    return {};
}

}  // namespace tess
