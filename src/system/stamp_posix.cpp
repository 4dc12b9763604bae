#include "system/native.h"

namespace tess {

std::optional<FileStamp> file_stamp(const QString &path)
{
    struct stat st {
    };
    if (stat(native_name(path).constData(), &st) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec);
    stamp.id = quint64(st.st_ino) ^ (quint64(st.st_dev) << 48);
    stamp.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + qint64(st.st_ctim.tv_nsec);
    return stamp;
}

}  // namespace tess
