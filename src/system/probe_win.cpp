#include "system/native.h"

#include <QFileInfo>

namespace tess {

bool file_held_open(const QString &path)
{
    // The running client keeps its archives open without sharing deletion,
    // so renaming the file onto itself fails exactly while it runs.
    const NativeName p = native_name(QFileInfo(path).absoluteFilePath());
    return !MoveFileExW(p.c_str(), p.c_str(), 0);
}

}  // namespace tess
