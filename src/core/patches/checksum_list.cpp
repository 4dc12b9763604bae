#include "core/patches/checksum_list.h"

#include "core/search/own_files.h"

#include <QCryptographicHash>
#include <QFile>
#include <QList>

#include <vector>

namespace tess {

namespace {

constexpr int kDigestHexDigits = 64;
constexpr qint64 kReadBytes = 1 << 20;
// Bytes read per opening of the file.
constexpr qint64 kChunkBytes = qint64(16) << 20;
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
    // Far larger than any list of patch archives; a larger file is no list.
    const ReadResult read = read_own_file(path, 1 << 20);
    return read.fault == ReadResult::Fault::None ? parse(read.bytes) : ChecksumList();
}

ChecksumList ChecksumList::parse(const QByteArray &text)
{
    ChecksumList list;
    for (QByteArray line : text.split('\n')) {
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

QByteArray sha256_of_file(const QString &path, const std::function<bool()> &keepGoing, QString *error)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::vector<char> buffer(static_cast<size_t>(kReadBytes));
    qint64 done = 0;
    for (;;) {
        if (keepGoing && !keepGoing())
            return {};
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || !file.seek(done)) {
            if (error)
                *error = file.errorString();
            return {};
        }
        qint64 inChunk = 0;
        while (inChunk < kChunkBytes) {
            const qint64 got = file.read(buffer.data(), kReadBytes);
            if (got < 0) {
                if (error)
                    *error = file.errorString();
                return {};
            }
            if (got == 0)
                return hash.result().toHex();
            hash.addData(buffer.data(), int(got));
            inChunk += got;
        }
        done += inChunk;
    }
}

}  // namespace tess
