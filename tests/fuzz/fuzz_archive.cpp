// Feeds arbitrary bytes to the archive reader as if they were a file on
// disk, and the text of whatever it answers. However the tables are
// crafted, the reader reads only a small multiple of the file's size.
#include "core/patches/archive.h"
#include "core/patches/archive_texts.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

namespace {

// The header search reads the file once; the header, each of the four
// tables and all sector tables together at most the archive's size again.
constexpr qint64 kReadsPerByte = 5;
constexpr qint64 kReadsBeyond = 1024;

class CountingBuffer : public QBuffer
{
public:
    explicit CountingBuffer(QByteArray *bytes) : QBuffer(bytes) {}
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 size) override
    {
        const qint64 got = QBuffer::readData(data, size);
        bytesRead += got > 0 ? got : 0;
        return got;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    CountingBuffer file(&bytes);
    // Unbuffered, so that what is counted is what the reader asked for.
    file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const tess::ArchiveCheck check = tess::check_archive(file);
    if (file.bytesRead > kReadsPerByte * qint64(size) + kReadsBeyond)
        __builtin_trap();
    // A file cut short is shorter than what its header says, and that is the file's own size.
    if (check.state == tess::ArchiveState::CutShort
        && (check.actualBytes != size || check.expectedBytes <= check.actualBytes))
        __builtin_trap();
    if (check.state == tess::ArchiveState::Changed || check.stopped)
        __builtin_trap();  // only the checksum list says that; nothing asked it to stop
    if (tess::describe(check).isEmpty())
        __builtin_trap();
    return 0;
}
