#include "media/ini.h"

#include "app/platform.h"

#include <QRegularExpression>
#include <QStringList>

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
    return out.toLocal8Bit();
}

IniSettings::ParseResult IniSettings::parse(const QByteArray &text)
{
    static const QRegularExpression header(QStringLiteral("^\\[(.+)\\]"));
    static const QRegularExpression option(QStringLiteral("^(.*?)\\s*([=:])\\s*(.*)$"));

    ParseResult result;
    IniSettings &ini = result.settings;
    QStringList seenSections;
    Section *current = nullptr;
    int currentItem = -1;  // the key that a deeper-indented line continues
    int optionIndent = 0;
    int lineNo = 0;

    const QStringList lines = QString::fromLocal8Bit(text).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (const QString &raw : lines) {
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
        // A value ends with its last non-empty line.
        if (current && currentItem >= 0)
            current->items[currentItem].second = current->items[currentItem].second.trimmed();
        currentItem = -1;

        const auto h = header.match(stripped);
        if (h.hasMatch()) {
            const QString name = h.captured(1);
            if (seenSections.contains(name)) {
                result.error = QStringLiteral("line %1: section [%2] given twice").arg(lineNo).arg(name);
                return result;
            }
            seenSections << name;
            ini.sections_.push_back({name, {}});
            current = &ini.sections_.last();
            continue;
        }
        if (!current) {
            result.error = QStringLiteral("line %1: a key before any section").arg(lineNo);
            return result;
        }
        const auto o = option.match(stripped);
        if (!o.hasMatch() || o.captured(1).trimmed().isEmpty()) {
            if (result.error.isEmpty())
                result.error = QStringLiteral("line %1: not a key line").arg(lineNo);
            continue;
        }
        const QString key = o.captured(1).trimmed().toLower();
        for (const auto &item : current->items) {
            if (item.first == key) {
                result.error = QStringLiteral("line %1: key %2 given twice").arg(lineNo).arg(key);
                return result;
            }
        }
        current->items.push_back({key, o.captured(3).trimmed()});
        currentItem = current->items.size() - 1;
        optionIndent = indent;
    }
    if (current && currentItem >= 0)
        current->items[currentItem].second = current->items[currentItem].second.trimmed();
    return result;
}

}  // namespace tess
