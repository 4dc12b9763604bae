#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

// A file whose content is its own path, its folders made on the way.
inline void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(path.toUtf8());
}

// The 10,000 unrelated files of the benchmarks, in nested folders below `data`.
inline void add_unrelated_files(const QString &data)
{
    for (int i = 0; i < 10000; ++i)
        touch(data + QStringLiteral("/cache/f%1/s%2/file%3.dat").arg(i % 20).arg(i % 7).arg(i));
}
