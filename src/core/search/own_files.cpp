#include "core/search/own_files.h"

namespace tess {

namespace {

bool inside(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}

}  // namespace

ReadResult read_own_file(const QString &path, qint64 limit)
{
    ReadResult read = read_regular_file(path, limit);
    if (read.fault == ReadResult::Fault::Missing || read.fault == ReadResult::Fault::Unreadable)
        return read;
    // Where the opened file lies, not where its name pointed before: a link
    // swapped meanwhile is judged by what was read.
    if (!inside(read.location, real_path(QStringLiteral("."))))
        return {{}, ReadResult::Fault::Outside, read.location, read.location};
    return read;
}

}  // namespace tess
