#include "core/patches/checksum_list.h"

#include "core/search/own_files.h"

#include <QCryptographicHash>
#include <QList>

#include <vector>

namespace tess {

namespace {

constexpr int kDigestHexDigits = 64;
constexpr qint64 kReadBytes = 1 << 20;
// Far larger than any list of patch archives; a larger file is no list.
constexpr qint64 kMaxListBytes = 1 << 20;
const QString kDisabled = QStringLiteral(".disabled");

bool is_hex(const QByteArray &text)
{
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

}  // namespace

QString checksum_key(const QString &path)
{
    QString key = path.toLower();
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (key.startsWith(QLatin1String("./")) || key.startsWith(QLatin1String("../")))
        key.remove(0, key.indexOf(QLatin1Char('/')) + 1);
    if (key.endsWith(kDisabled))
        key.chop(kDisabled.size());
    return key;
}

ChecksumList ChecksumList::read(const QString &path)
{
    const ReadResult read = read_own_file(path, kMaxListBytes);
    if (read.fault != ReadResult::Fault::None)
        return {};
    return parse(read.bytes);
}

ChecksumList ChecksumList::parse(const QByteArray &text)
{
    ChecksumList list;
    // Editors on Windows save UTF-8 with a byte order mark, which would hide the first line's digest.
    const QByteArray body = text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text;
    for (QByteArray line : body.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QByteArray digest = line.left(kDigestHexDigits);
        if (digest.size() != kDigestHexDigits || !is_hex(digest) || line.size() < kDigestHexDigits + 3)
            continue;
        const char separator = line.at(kDigestHexDigits);
        const char mode = line.at(kDigestHexDigits + 1);
        if (separator != ' ' || (mode != ' ' && mode != '*'))
            continue;
        const QString path = QString::fromUtf8(line.mid(kDigestHexDigits + 2));
        list.sums_.insert(checksum_key(path), digest.toLower());
    }
    return list;
}

QByteArray sha256_of_file(const QString &path, const std::function<bool()> &keepGoing, QString *error, bool *stopped)
{
    if (stopped)
        *stopped = false;
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    ReadOnlyFile file;
    switch (file.open(path)) {
    case ReadResult::Fault::None: break;
    case ReadResult::Fault::NotRegular: return fail(QStringLiteral("not a regular file"));
    case ReadResult::Fault::Missing:
    case ReadResult::Fault::TooLarge:
    case ReadResult::Fault::Outside:
    case ReadResult::Fault::Unreadable: return fail(file.error());
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::vector<char> buffer(static_cast<size_t>(kReadBytes));
    for (quint64 done = 0;;) {
        if (keepGoing && !keepGoing()) {
            if (stopped)
                *stopped = true;
            return {};
        }
        const qint64 got = file.read_at(done, buffer.data(), kReadBytes);
        if (got < 0)
            return fail(file.error());
        if (got == 0)
            return hash.result().toHex();
        hash.addData(buffer.data(), int(got));
        done += quint64(got);
    }
}

}  // namespace tess
