#include "core/media/ini.h"

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

bool blank(char c) { return c == ' ' || c == '\t'; }

// The parts of a key line, as byte offsets. Only ASCII is looked at: the
// delimiter, the blanks and the line end are never part of a wider
// character in the code pages a settings file is written in.
struct KeyLine {
    int indent = 0;      // end of the leading blanks
    int keyEnd = 0;      // end of the key, before the blanks ahead of the delimiter
    int valueStart = 0;  // after the delimiter and the blanks behind it
    int valueEnd = 0;    // before the trailing blanks
    int end = 0;         // where the line end starts
};

KeyLine key_line(const QByteArray &line)
{
    KeyLine k;
    k.end = line.size();
    while (k.end > 0 && (line.at(k.end - 1) == '\n' || line.at(k.end - 1) == '\r'))
        --k.end;
    while (k.indent < k.end && blank(line.at(k.indent)))
        ++k.indent;
    int delimiter = k.indent;
    while (delimiter < k.end && line.at(delimiter) != '=' && line.at(delimiter) != ':')
        ++delimiter;
    k.keyEnd = delimiter;
    while (k.keyEnd > k.indent && blank(line.at(k.keyEnd - 1)))
        --k.keyEnd;
    k.valueStart = qMin(delimiter + 1, k.end);
    while (k.valueStart < k.end && blank(line.at(k.valueStart)))
        ++k.valueStart;
    k.valueEnd = k.end;
    while (k.valueEnd > k.valueStart && blank(line.at(k.valueEnd - 1)))
        --k.valueEnd;
    return k;
}

bool has_line_end(const QByteArray &line) { return line.endsWith('\n') || line.endsWith('\r'); }

bool is_comment(const QByteArray &line)
{
    const QString stripped = decode_local(line).trimmed();
    return stripped.startsWith(QLatin1Char('#')) || stripped.startsWith(QLatin1Char(';'));
}

// A value's further lines are indented one step deeper than its key, so
// that they read back as its continuation.
QByteArray encode_value(const QString &value, const QByteArray &lineEnd, const QByteArray &indent)
{
    QByteArray out = encode_local(value);
    out.replace('\n', lineEnd + indent + '\t');
    return out;
}

}  // namespace

int IniSettings::find(const QString &name) const
{
    for (int i = 0; i < sections_.size(); ++i)
        if (sections_.at(i).name == name)
            return i;
    return -1;
}

bool IniSettings::hasSection(const QString &name) const { return find(name) >= 0; }

std::optional<QString> IniSettings::value(const QString &section, const QString &key) const
{
    // DEFAULT lends its keys to the sections there are, and makes none.
    if (find(section) < 0)
        return std::nullopt;
    const QString k = key.toLower();
    for (const QString &name : {section, kDefault}) {
        const int s = find(name);
        if (s >= 0)
            for (const auto &item : sections_.at(s).items)
                if (item.first == k)
                    return item.second;
    }
    return std::nullopt;
}

void IniSettings::setValue(const QString &section, const QString &key, const QString &value)
{
    int s = find(section);
    if (s < 0)
        s = addSection(section);
    const QString k = key.toLower();
    auto &items = sections_[s].items;
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).first != k)
            continue;
        if (items.at(i).second != value) {
            items[i].second = value;
            replaceValue(places_.at(s).values.at(i), value);
        }
        return;
    }
    addKey(s, k, value);
}

QByteArray IniSettings::lineEnd() const
{
    for (const QByteArray &line : lines_) {
        QByteArray end = line.mid(key_line(line).end);
        if (!end.isEmpty())
            return end;
    }
    return QByteArray(platform::lineEnd);
}

void IniSettings::insertLine(int at, const QByteArray &line)
{
    lines_.insert(at, line);
    for (Place &place : places_) {
        if (place.end >= at)
            ++place.end;
        for (auto &value : place.values) {
            if (value.first >= at)
                ++value.first;
            if (value.second >= at)
                ++value.second;
        }
    }
}

void IniSettings::replaceValue(const QPair<int, int> &lines, const QString &value)
{
    const QByteArray old = lines_.at(lines.first);
    const KeyLine k = key_line(old);
    lines_[lines.first] =
        old.left(k.valueStart) + encode_value(value, lineEnd(), old.left(k.indent)) + old.mid(k.valueEnd);
    // The old value's further lines go; comments among them stay. The slots
    // stay too, empty, so that no other line moves.
    for (int i = lines.first + 1; i <= lines.second; ++i)
        if (!is_comment(lines_.at(i)))
            lines_[i].clear();
}

void IniSettings::addKey(int section, const QString &key, const QString &value)
{
    // Spaced as the section's last key, or else as the file's first.
    int model = -1;
    for (const auto &lines : places_.at(section).values)
        model = qMax(model, lines.first);
    for (int s = 0; model < 0 && s < places_.size(); ++s)
        if (!places_.at(s).values.isEmpty())
            model = places_.at(s).values.first().first;
    QByteArray indent, delimiter = " = ";
    if (model >= 0) {
        const QByteArray &line = lines_.at(model);
        const KeyLine k = key_line(line);
        indent = line.left(k.indent);
        delimiter = line.mid(k.keyEnd, k.valueStart - k.keyEnd);
    }
    const QByteArray nl = lineEnd();
    Place &place = places_[section];
    int before = place.end;
    while (before > 0 && lines_.at(before).isEmpty())
        --before;
    if (!has_line_end(lines_.at(before)))
        lines_[before] += nl;
    const int at = place.end + 1;
    insertLine(at, indent + encode_local(key) + delimiter + encode_value(value, nl, indent) + nl);
    place.values.push_back({at, at});
    place.end = at;
    sections_[section].items.push_back({key, value});
}

int IniSettings::addSection(const QString &name)
{
    const QByteArray nl = lineEnd();
    int last = lines_.size() - 1;
    while (last >= 0 && lines_.at(last).isEmpty())
        --last;
    if (last >= 0) {
        if (!has_line_end(lines_.at(last)))
            lines_[last] += nl;
        // An empty line closes every section.
        const KeyLine k = key_line(lines_.at(last));
        if (k.indent < k.end)
            lines_.push_back(nl);
    }
    lines_.push_back('[' + encode_local(name) + ']' + nl);
    Place place;
    place.end = lines_.size() - 1;
    lines_.push_back(nl);
    sections_.push_back({name, {}});
    places_.push_back(place);
    return sections_.size() - 1;
}

QByteArray IniSettings::toText() const
{
    QByteArray out;
    for (const QByteArray &line : lines_)
        out += line;
    return out;
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
    int current = -1;
    int currentItem = -1;  // the key that a deeper-indented line continues
    int optionIndent = 0;
    const auto item = [&]() -> QString & { return ini.sections_[current].items[currentItem].second; };
    const auto endValue = [&] {
        if (currentItem >= 0)
            item() = item().trimmed();
        currentItem = -1;
    };

    for (int pos = 0; pos < text.size();) {
        int end = pos;
        while (end < text.size() && text.at(end) != '\n' && text.at(end) != '\r')
            ++end;
        int next = end;
        if (next < text.size())
            next += text.at(next) == '\r' && next + 1 < text.size() && text.at(next + 1) == '\n' ? 2 : 1;
        const int line = ini.lines_.size();
        const int lineNo = line + 1;
        ini.lines_.push_back(text.mid(pos, next - pos));
        // With its length: a NUL must not end the line, or what follows it
        // would be lost to the reading.
        const QString raw = decode_local(QByteArray::fromRawData(text.constData() + pos, end - pos));
        pos = next;

        const QString stripped = raw.trimmed();
        if (stripped.startsWith(QLatin1Char('#')) || stripped.startsWith(QLatin1Char(';')))
            continue;
        if (stripped.isEmpty()) {
            if (currentItem >= 0)
                item() += QLatin1Char('\n');
            continue;
        }
        const int indent = indent_of(raw);
        if (currentItem >= 0 && indent > optionIndent) {
            item() += QLatin1Char('\n') + stripped;
            ini.places_[current].values[currentItem].second = line;
            ini.places_[current].end = line;
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
                ini.places_.push_back({});
                keyAt.push_back({});
            }
            current = *at;
            ini.places_[current].end = line;
            continue;
        }
        if (current < 0) {
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
        // A key given again takes the later value and keeps its first place;
        // its later line is the one a new value replaces.
        const QString value = stripped.mid(delimiter + 1).trimmed();
        Place &place = ini.places_[current];
        QHash<QString, int> &keys = keyAt[current];
        const auto at = keys.constFind(key);
        if (at != keys.constEnd()) {
            fault(lineNo, QStringLiteral("key %1 given twice").arg(key));
            currentItem = *at;
            item() = value;
            place.values[currentItem] = {line, line};
        } else {
            currentItem = ini.sections_[current].items.size();
            keys.insert(key, currentItem);
            ini.sections_[current].items.push_back({key, value});
            place.values.push_back({line, line});
        }
        place.end = line;
        optionIndent = indent;
    }
    endValue();
    return result;
}

}  // namespace tess
