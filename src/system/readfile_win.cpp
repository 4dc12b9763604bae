#include "system/bounded_read.h"
#include "system/native.h"

#include <QFile>
#include <QFileInfo>

namespace tess {

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

}  // namespace tess
