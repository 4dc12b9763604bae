#include "media/ini.h"

#include "patches/wildcard.h"

#include "system/system.h"

#include <QHash>

namespace tess {

namespace {

const QString kDefault = QStringLiteral("DEFAULT");

int indent_of(const QString &line)
{
    int i = 0;
    while (i < line.size() && line.at(i).isSpace())
        ++i;
    return i;
}

}  // namespace

IniSettings::Section *IniSettings::find(const QString &name)
{
    for (Section &s : sections_)
        if (s.name == name)
            return &s;
    return nullptr;
}

const IniSettings::Section *IniSettings::find(const QString &name) const
{
    for (const Section &s : sections_)
        if (s.name == name)
            return &s;
    return nullptr;
}

bool IniSettings::hasSection(const QString &name) const { return find(name) != nullptr; }

std::optional<QString> IniSettings::value(const QString &section, const QString &key) const
{
    // DEFAULT lends its keys to the sections there are, and makes none.
    if (!find(section))
        return std::nullopt;
    const QString k = key.toLower();
    for (const QString &name : {section, kDefault}) {
        if (const Section *s = find(name))
            for (const auto &item : s->items)
                if (item.first == k)
                    return item.second;
    }
    return std::nullopt;
}

void IniSettings::setValue(const QString &section, const QString &key, const QString &value)
{
    Section *s = find(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.last();
    }
    const QString k = key.toLower();
    for (auto &item : s->items) {
        if (item.first == k) {
            item.second = value;
            return;
        }
    }
    s->items.push_back({k, value});
}

QByteArray IniSettings::toText() const
{
    const QString nl = QLatin1String(platform::lineEnd);
    QVector<const Section *> order;
    if (const Section *d = find(kDefault))
        order.push_back(d);
    for (const Section &s : sections_)
        if (s.name != kDefault)
            order.push_back(&s);
    QString out;
    for (const Section *s : order) {
        out += QLatin1Char('[') + s->name + QLatin1Char(']') + nl;
        for (const auto &item : s->items) {
            QString value = item.second;
            value.replace(QLatin1Char('\n'), nl + QLatin1Char('\t'));
            out += item.first + QStringLiteral(" = ") + value + nl;
        }
        out += nl;
    }
    return encode_local(out);
}

IniSettings::ParseResult IniSettings::parse(const QByteArray &text)
{
    ParseResult result;
    IniSettings &ini = result.settings;
    const auto fault = [&result](int lineNo, const QString &why) {
        if (result.error.isEmpty())
            result.error = QStringLiteral("line %1: %2").arg(lineNo).arg(why);
    };
    // Lookups by hash: a file may hold many thousands of sections and keys.
    QHash<QString, int> sectionAt;
    QVector<QHash<QString, int>> keyAt;
    Section *current = nullptr;
    QHash<QString, int> *currentKeys = nullptr;
    int currentItem = -1;  // the key that a deeper-indented line continues
    int optionIndent = 0;
    int lineNo = 0;
    const auto endValue = [&] {
        if (current && currentItem >= 0)
            current->items[currentItem].second = current->items[currentItem].second.trimmed();
        currentItem = -1;
    };

    // With its length: the QByteArray overload stops at the first NUL, and
    // what follows it would vanish at the next save.
    const QString all = decode_local(text);
    for (int pos = 0; pos <= all.size();) {
        int end = pos;
        while (end < all.size() && all.at(end) != QLatin1Char('\n') && all.at(end) != QLatin1Char('\r'))
            ++end;
        const QString raw = all.mid(pos, end - pos);
        const bool crlf = all.midRef(end, 2) == QLatin1String("\r\n");
        pos = end + (crlf ? 2 : 1);
        ++lineNo;

        const QString stripped = raw.trimmed();
        if (stripped.startsWith(QLatin1Char('#')) || stripped.startsWith(QLatin1Char(';')))
            continue;
        if (stripped.isEmpty()) {
            if (current && currentItem >= 0)
                current->items[currentItem].second += QLatin1Char('\n');
            continue;
        }
        const int indent = indent_of(raw);
        if (current && currentItem >= 0 && indent > optionIndent) {
            current->items[currentItem].second += QLatin1Char('\n') + stripped;
            continue;
        }
        endValue();  // a value ends with its last non-empty line

        const int close = stripped.lastIndexOf(QLatin1Char(']'));
        if (stripped.startsWith(QLatin1Char('[')) && close > 1) {
            // A section given again continues where it was first given.
            const QString name = stripped.mid(1, close - 1);
            auto at = sectionAt.find(name);
            if (at != sectionAt.end()) {
                fault(lineNo, QStringLiteral("section [%1] given twice").arg(name));
            } else {
                at = sectionAt.insert(name, ini.sections_.size());
                ini.sections_.push_back({name, {}});
                keyAt.push_back({});
            }
            current = &ini.sections_[*at];
            currentKeys = &keyAt[*at];
            continue;
        }
        if (!current) {
            fault(lineNo, QStringLiteral("a key before any section"));
            continue;
        }
        int delimiter = 0;
        while (delimiter < stripped.size() && stripped.at(delimiter) != QLatin1Char('=')
               && stripped.at(delimiter) != QLatin1Char(':'))
            ++delimiter;
        const QString key = stripped.left(delimiter).trimmed().toLower();
        if (delimiter == stripped.size() || key.isEmpty()) {
            fault(lineNo, QStringLiteral("not a key line"));
            continue;
        }
        // A key given again takes the later value and keeps its first place.
        const QString value = stripped.mid(delimiter + 1).trimmed();
        const auto at = currentKeys->constFind(key);
        if (at != currentKeys->constEnd()) {
            fault(lineNo, QStringLiteral("key %1 given twice").arg(key));
            current->items[*at].second = value;
            currentItem = *at;
        } else {
            currentItem = current->items.size();
            currentKeys->insert(key, currentItem);
            current->items.push_back({key, value});
        }
        optionIndent = indent;
    }
    endValue();
    return result;
}

}  // namespace tess
