#include "patches/wildcard.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#ifndef Q_OS_WIN
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace tess {

namespace {

struct Entry {
    QString name;
    bool isDir;
    bool isLink;
};

#ifdef Q_OS_WIN

QVector<Entry> list_folder(const QString &dir)
{
    QVector<Entry> entries;
    QDirIterator it(dir.isEmpty() ? QStringLiteral(".") : dir,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries.push_back({info.fileName(), info.isDir(), info.isSymLink()});
    }
    return entries;
}

#else

// readdir's entry types spare a stat per file: the scans list whole trees
// after every switch, so this is where their time goes.
QVector<Entry> list_folder(const QString &dir)
{
    QVector<Entry> entries;
    const QByteArray native = QFile::encodeName(dir.isEmpty() ? QStringLiteral(".") : dir);
    DIR *d = ::opendir(native.constData());
    if (!d)
        return entries;
    while (const dirent *e = ::readdir(d)) {
        const char *n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        Entry entry{QFile::decodeName(n), e->d_type == DT_DIR, e->d_type == DT_LNK};
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st;
            const QByteArray path = native + '/' + n;
            entry.isLink = ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
            entry.isDir = ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(d);
    return entries;
}

#endif

QString join(const QString &dir, const QString &name)
{
    if (dir.isEmpty())
        return name;
    if (dir.endsWith(QLatin1Char('/')))
        return dir + name;
    return dir + QLatin1Char('/') + name;
}

bool is_hidden(const QString &name) { return name.startsWith(QLatin1Char('.')); }

class Walker
{
public:
    Walker(QStringList components, GlobEntries entries)
        : components_(std::move(components)), entries_(entries)
    {
    }

    QStringList run(const QString &base)
    {
        if (!components_.isEmpty())
            visit(base, 0);
        return found_;
    }

private:
    bool isLast(int i) const { return i == components_.size() - 1; }

    bool matches(const QString &component, const Entry &entry) const
    {
        if (has_wildcard(component))
            return !is_hidden(entry.name) && wildcard_match(component, entry.name);
        return QString::compare(component, entry.name, Qt::CaseInsensitive) == 0;
    }

    void emit_if_wanted(const QString &path, bool isDir)
    {
        if (entries_ == GlobEntries::All || !isDir)
            found_.push_back(path);
    }

    // Applies component i inside the folder dir.
    void visit(const QString &dir, int i)
    {
        const QString &component = components_.at(i);
        if (component == QLatin1String("..") || component == QLatin1String(".")) {
            const QString path = join(dir, component);
            if (isLast(i))
                emit_if_wanted(path, true);
            else
                visit(path, i + 1);
            return;
        }
        apply(dir, list_folder(dir), i);
    }

    // Applies component i to a folder that is already listed, so that
    // '**' followed by a name lists every folder exactly once.
    void apply(const QString &dir, const QVector<Entry> &listing, int i)
    {
        const QString &component = components_.at(i);
        if (component == QLatin1String("**")) {
            if (isLast(i)) {
                for (const Entry &e : listing)
                    if (!is_hidden(e.name))
                        emit_if_wanted(join(dir, e.name), e.isDir);
            } else {
                apply(dir, listing, i + 1);
            }
            for (const Entry &e : listing)
                if (e.isDir && !e.isLink && !is_hidden(e.name))
                    visit(join(dir, e.name), i);
            return;
        }
        if (component == QLatin1String("..") || component == QLatin1String(".")) {
            visit(dir, i);
            return;
        }
        for (const Entry &e : listing) {
            if (!matches(component, e))
                continue;
            const QString path = join(dir, e.name);
            if (isLast(i))
                emit_if_wanted(path, e.isDir);
            else if (e.isDir)
                visit(path, i + 1);
        }
    }

    QStringList components_;
    GlobEntries entries_;
    QStringList found_;
};

inline QChar fold(QChar c) { return c.toCaseFolded(); }

}  // namespace

bool has_wildcard(QStringView component)
{
    return component.contains(QLatin1Char('*')) || component.contains(QLatin1Char('?'));
}

bool wildcard_match(QStringView pattern, QStringView name)
{
    // Iterative matching with one backtrack point: the last '*' seen.
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size()
                   && (pattern[p] == QLatin1Char('?') || fold(pattern[p]) == fold(name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

QStringList glob(const QString &pattern, GlobEntries entries)
{
    QString base;
    QString rest = pattern;
    if (rest.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
        rest = rest.mid(1);
    }
    QStringList components = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return Walker(components, entries).run(base);
}

}  // namespace tess
