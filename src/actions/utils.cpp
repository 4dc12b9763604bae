#include "actions/utils.h"

#include "patches/wildcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>
#include <windows.h>
#else
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tess {

namespace {

enum class Node { Missing, Link, Folder, File };

#ifdef Q_OS_WIN

std::wstring native_path(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }

Node node_at(const QString &path)
{
    const DWORD attrs = GetFileAttributesW(native_path(path).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return Node::Missing;
    // Symbolic links and junctions are both reparse points: never entered.
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT)
        return Node::Link;
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? Node::Folder : Node::File;
}

bool denied(int code) { return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION; }

int remove_entry(const QString &path, Node node)
{
    const std::wstring name = native_path(path);
    const wchar_t *native = name.c_str();
    const DWORD attrs = GetFileAttributesW(native);
    const bool dir = attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
    const BOOL ok = (node == Node::Folder || (node == Node::Link && dir)) ? RemoveDirectoryW(native) : DeleteFileW(native);
    return ok ? 0 : int(GetLastError());
}

#else

Node node_at(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return Node::Missing;
    if (S_ISLNK(st.st_mode))
        return Node::Link;
    return S_ISDIR(st.st_mode) ? Node::Folder : Node::File;
}

bool denied(int code) { return code == EACCES || code == EPERM; }

int remove_entry(const QString &path, Node node)
{
    const QByteArray native = QFile::encodeName(path);
    const int r = node == Node::Folder ? ::rmdir(native.constData()) : ::unlink(native.constData());
    return r == 0 ? 0 : errno;
}

#endif

RemoveResult failure(const QString &path, int code) { return {false, path, code}; }

}  // namespace

RemoveResult rmtree(const QString &path)
{
    const Node node = node_at(path);
    if (node == Node::Missing)
        return {};
    if (node == Node::File || node == Node::Link) {
        const int code = remove_entry(path, node);
        // A locked or protected file stays; its folder's removal reports it.
        if (code != 0 && !denied(code))
            return failure(path, code);
        return {};
    }
    const QStringList entries =
        QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &name : entries) {
        const RemoveResult r = rmtree(path + QLatin1Char('/') + name);
        if (!r.ok)
            return r;
    }
    const int code = remove_entry(path, Node::Folder);
    return code == 0 ? RemoveResult{} : failure(path, code);
}

RemoveResult clean_game_folder()
{
    for (const char *target : {"../cache", "../logs", "../interface/addons/?lizzard_*"}) {
        // Each folder is listed whole before anything in it is removed.
        for (const QString &path : glob(QString::fromLatin1(target), GlobEntries::All)) {
            const RemoveResult r = rmtree(path);
            if (!r.ok)
                return r;
        }
    }
    return {};
}

}  // namespace tess
