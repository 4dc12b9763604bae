// Feeds arbitrary bytes to the archive reader as if they were a file on
// disk, and the text of whatever it answers.
#include "core/patches/archive.h"
#include "core/patches/archive_texts.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const tess::ArchiveCheck check = tess::check_archive(file);
    // A file cut short is shorter than what its header says, and that is the file's own size.
    if (check.state == tess::ArchiveState::CutShort
        && (check.actualBytes != size || check.expectedBytes <= check.actualBytes))
        __builtin_trap();
    if (check.state == tess::ArchiveState::Changed)
        __builtin_trap();  // only the checksum list says that
    if (tess::describe(check).isEmpty())
        __builtin_trap();
    return 0;
}
