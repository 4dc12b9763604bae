#include "core/search/wildcard.h"

#include <QVector>

#include <set>
#include <tuple>

#include "system/system.h"

namespace tess {

namespace {

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
    Walker(QStringList components, GlobEntries entries, GlobLinks links)
        : components_(std::move(components)), entries_(entries), links_(links)
    {}

    QStringList run(const QString &base)
    {
        if (!components_.isEmpty())
            visit(base, 0);
        return found_;
    }

private:
    bool isLast(int i) const { return i == components_.size() - 1; }

    bool matches(const QString &component, const FolderEntry &entry) const
    {
        return component_matches(component, entry.name);
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
        const FolderListing listing = list_folder(dir);
        if (listing.identified && !visited_.insert({listing.id, i}).second)
            return;
        apply(dir, listing.entries, i);
    }

    // Applies component i to a folder that is already listed, so that
    // '**' followed by a name lists every folder exactly once.
    void apply(const QString &dir, const QVector<FolderEntry> &listing, int i)
    {
        const QString &component = components_.at(i);
        if (component == QLatin1String("**")) {
            if (isLast(i)) {
                for (const FolderEntry &e : listing)
                    if (!is_hidden(e.name))
                        emit_if_wanted(join(dir, e.name), e.isDir);
            } else {
                apply(dir, listing, i + 1);
            }
            for (const FolderEntry &e : listing)
                if (e.isDir && !e.isLink && !is_hidden(e.name))
                    visit(join(dir, e.name), i);
            return;
        }
        if (component == QLatin1String("..") || component == QLatin1String(".")) {
            visit(dir, i);
            return;
        }
        for (const FolderEntry &e : listing) {
            if (!matches(component, e))
                continue;
            const QString path = join(dir, e.name);
            if (isLast(i))
                emit_if_wanted(path, e.isDir);
            else if (e.isDir && (links_ == GlobLinks::Named || !e.isLink))
                visit(path, i + 1);
        }
    }

    QStringList components_;
    GlobEntries entries_;
    GlobLinks links_;
    QStringList found_;
    std::set<std::tuple<FolderId, int>> visited_;  // folder and component applied in it
};

// One character of `text` at `i`: a surrogate pair counts as one.
struct Character {
    uint code;
    int units;
};
Character character_at(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

}  // namespace

bool has_wildcard(QStringView component)
{
    return component.contains(QLatin1Char('*')) || component.contains(QLatin1Char('?'));
}

bool wildcard_match(QStringView pattern, QStringView name)
{
    // Iterative matching with one backtrack point: the last '*' seen. Steps
    // go by characters, not UTF-16 units, so '?' takes a whole surrogate pair.
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        const Character here = character_at(name, n);
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
            continue;
        }
        if (p < pattern.size()) {
            const Character wanted = character_at(pattern, p);
            if (pattern[p] == QLatin1Char('?') || QChar::toCaseFolded(wanted.code) == QChar::toCaseFolded(here.code)) {
                p += wanted.units;
                n += here.units;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        starN += character_at(name, starN).units;
        n = starN;
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool component_matches(QStringView component, QStringView name)
{
    if (has_wildcard(component))
        return !name.startsWith(QLatin1Char('.')) && wildcard_match(component, name);
    return component.compare(name, Qt::CaseInsensitive) == 0;
}

QStringList glob(const QString &pattern, GlobEntries entries, GlobLinks links)
{
    QString base;
    QString rest = pattern;
    if (rest.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
        rest = rest.mid(1);
    }
    QStringList components = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return Walker(components, entries, links).run(base);
}

QString file_name(const QString &path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

QString parent_of(const QString &path) { return path.left(path.lastIndexOf(QLatin1Char('/')) + 1); }

}  // namespace tess
