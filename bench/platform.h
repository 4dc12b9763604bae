#pragma once

// The one place where a benchmark asks which system it runs on.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>
#include <windows.h>
#else
#include <dirent.h>
#endif

#ifdef Q_OS_WIN
namespace bench_detail {

inline int raw_walk(const std::wstring &dir)
{
    int files = 0;
    WIN32_FIND_DATAW e;
    const HANDLE h = FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &e, FindExSearchNameMatch, nullptr,
                                      FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (e.cFileName[0] == L'.')
            continue;
        if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            files += raw_walk(dir + L'\\' + e.cFileName);
        else
            ++files;
    } while (FindNextFileW(h, &e));
    FindClose(h);
    return files;
}

}  // namespace bench_detail
#endif

// The files below `dir`, counted by the system's own listing calls alone
// (readdir, on Windows FindFirstFileEx): no names made, no matching.
inline int raw_walk(const QByteArray &dir)
{
#ifdef Q_OS_WIN
    return bench_detail::raw_walk(QString::fromLocal8Bit(dir).toStdWString());
#else
    int files = 0;
    DIR *d = ::opendir(dir.constData());
    if (!d)
        return 0;
    while (const dirent *e = ::readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        if (e->d_type == DT_DIR)
            files += raw_walk(dir + '/' + e->d_name);
        else
            ++files;
    }
    ::closedir(d);
    return files;
#endif
}
