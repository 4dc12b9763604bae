#include "core/config/langfile.h"

#include <QRegularExpression>
#include <QTextCodec>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace tess {

namespace {

bool starts_with(const QByteArray &b, std::initializer_list<unsigned char> prefix)
{
    if (b.size() < int(prefix.size()))
        return false;
    int i = 0;
    for (unsigned char c : prefix)
        if (static_cast<unsigned char>(b.at(i++)) != c)
            return false;
    return true;
}

struct Encoding {
    const char *codec;
    int bom;  // bytes of the byte-order mark to skip
};

Encoding detect(const QByteArray &b)
{
    if (starts_with(b, {0xEF, 0xBB, 0xBF}))
        return {"UTF-8", 3};
    if (starts_with(b, {0xFF, 0xFE, 0x00, 0x00}))
        return {"UTF-32LE", 4};
    if (starts_with(b, {0x00, 0x00, 0xFE, 0xFF}))
        return {"UTF-32BE", 4};
    if (starts_with(b, {0xFF, 0xFE}))
        return {"UTF-16LE", 2};
    if (starts_with(b, {0xFE, 0xFF}))
        return {"UTF-16BE", 2};
    // Without a mark, JSON's first characters are ASCII: their zero bytes tell.
    if (b.size() >= 4) {
        const bool z0 = b.at(0) == 0, z1 = b.at(1) == 0, z2 = b.at(2) == 0, z3 = b.at(3) == 0;
        if (z0 && z1 && z2 && !z3)
            return {"UTF-32BE", 0};
        if (!z0 && z1 && z2 && z3)
            return {"UTF-32LE", 0};
    }
    if (b.size() >= 2) {
        if (b.at(0) == 0 && b.at(1) != 0)
            return {"UTF-16BE", 0};
        if (b.at(0) != 0 && b.at(1) == 0)
            return {"UTF-16LE", 0};
    }
    return {"UTF-8", 0};
}

// One linear pass over the decoded text, outside strings: refuses what the
// recursive copy or the linear key search of the parsed document cannot
// take in bounded stack and time. Mismatched brackets are the parser's.
QString bounds_fault(const QByteArray &utf8)
{
    const int nul = utf8.indexOf('\0');
    if (nul >= 0)
        return QStringLiteral("нулевой байт в позиции %1").arg(nul);
    struct Open {
        bool object;
        int commas;
    };
    std::vector<Open> open;
    bool inString = false;
    for (int i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (int(open.size()) == kMaxNesting)
                return QStringLiteral("вложенность глубже %1 уровней в позиции %2").arg(kMaxNesting).arg(i);
            open.push_back({c == '{', 0});
        } else if ((c == '}' || c == ']') && !open.empty()) {
            open.pop_back();
        } else if (c == ',' && !open.empty() && open.back().object && ++open.back().commas == kMaxMembers) {
            return QStringLiteral("объект с более чем %1 членами в позиции %2").arg(kMaxMembers).arg(i);
        }
    }
    return QString();
}

// A JSON path for messages: /patches/dynamic/a/actions.
QString child(const QString &path, const QString &member) { return path + QLatin1Char('/') + member; }
QString child(const QString &path, size_t index) { return path + QLatin1Char('/') + QString::number(index); }

class Validator
{
public:
    QString run(const Json &doc)
    {
        if (!doc.is_object())
            return fault(QString(), QStringLiteral("документ должен быть объектом"));
        if (!buttons(doc))
            return error_;
        const Json *patches = object_member(doc, QString(), "patches");
        if (!patches)
            return error_;
        const Json *stat = object_member(*patches, QStringLiteral("/patches"), "static");
        if (!stat || !fixed_row(*stat, "fonts", 2) || !fixed_row(*stat, "dxvk", 3) || !fixed_row(*stat, "allpatches", 3)
            || !defaults(*stat))
            return error_;
        const Json *dyn = object_member(*patches, QStringLiteral("/patches"), "dynamic");
        if (!dyn || !dynamic(*dyn))
            return error_;
        return QString();
    }

private:
    bool fail(const QString &path, const QString &why)
    {
        error_ = fault(path, why);
        return false;
    }
    static QString fault(const QString &path, const QString &why)
    {
        return (path.isEmpty() ? QStringLiteral("/") : path) + QStringLiteral(": ") + why;
    }

    const Json *member(const Json &object, const QString &path, const char *name)
    {
        const auto it = object.find(name);
        if (it == object.end()) {
            fail(child(path, QString::fromUtf8(name)), QStringLiteral("член отсутствует"));
            return nullptr;
        }
        return &*it;
    }

    const Json *object_member(const Json &object, const QString &path, const char *name)
    {
        const Json *m = member(object, path, name);
        if (m && !m->is_object()) {
            fail(child(path, QString::fromUtf8(name)), QStringLiteral("ожидался объект"));
            return nullptr;
        }
        return m;
    }

    bool buttons(const Json &doc)
    {
        const QString path = QStringLiteral("/buttons");
        const Json *b = member(doc, QString(), "buttons");
        if (!b)
            return false;
        if (!b->is_array())
            return fail(path, QStringLiteral("ожидался массив текстов"));
        if (b->size() < 3)
            return fail(path, QStringLiteral("нужно не менее трёх текстов"));
        for (size_t i = 0; i < 3; ++i)
            if (!b->at(i).is_string())
                return fail(child(path, i), QStringLiteral("ожидался текст"));
        return true;
    }

    bool name_text(const Json &entry, const QString &path)
    {
        const Json *n = member(entry, path, "name");
        if (!n)
            return false;
        if (!n->is_string())
            return fail(child(path, QStringLiteral("name")), QStringLiteral("ожидался текст"));
        return true;
    }

    bool fixed_row(const Json &stat, const char *key, size_t needed)
    {
        const QString path = child(QStringLiteral("/patches/static"), QString::fromUtf8(key));
        const Json *row = object_member(stat, QStringLiteral("/patches/static"), key);
        if (!row || !name_text(*row, path))
            return false;
        const Json *actions = member(*row, path, "actions");
        if (!actions)
            return false;
        const QString apath = child(path, QStringLiteral("actions"));
        if (actions->is_array()) {
            for (size_t i = 0; i < actions->size(); ++i)
                if (!actions->at(i).is_string())
                    return fail(child(apath, i), QStringLiteral("ожидался текст"));
        } else if (!actions->is_object()) {
            return fail(apath, QStringLiteral("ожидался массив текстов или объект"));
        }
        if (actions->size() < needed)
            return fail(apath, QStringLiteral("нужно не менее %1 вариантов").arg(needed));
        return true;
    }

    bool letter(const QString &text, const QString &path)
    {
        if (patch_letter_index(text) < 0)
            return fail(path, QStringLiteral("'%1' не буква патча (5-9, a-z)").arg(text));
        return true;
    }

    bool flag(const Json &value, const QString &path)
    {
        if (value.is_number()) {
            const double d = value.get<double>();
            if (std::trunc(d) >= double(std::numeric_limits<int>::min())
                && std::trunc(d) <= double(std::numeric_limits<int>::max()))
                return true;
            return fail(path, QStringLiteral("число вне допустимого диапазона"));
        }
        static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]{1,9}$"));
        if (value.is_string() && decimal.match(to_qstring(value)).hasMatch())
            return true;
        return fail(path, QStringLiteral("флаг должен быть числом или десятичной строкой"));
    }

    bool defaults(const Json &stat)
    {
        const QString path = QStringLiteral("/patches/static/default");
        const Json *d = member(stat, QStringLiteral("/patches/static"), "default");
        if (!d)
            return false;
        if (!d->is_array())
            return fail(path, QStringLiteral("ожидался массив"));
        for (size_t i = 0; i < d->size(); ++i) {
            const Json &t = d->at(i);
            const QString tpath = child(path, i);
            if (t.is_string()) {
                const QString s = to_qstring(t);
                if (s.size() < 3)
                    return fail(tpath, QStringLiteral("нужно не менее трёх символов"));
                if (!letter(s.left(1), tpath))
                    return false;
                for (int k = 1; k < 3; ++k)
                    if (s.at(k) < QLatin1Char('0') || s.at(k) > QLatin1Char('9'))
                        return fail(tpath, QStringLiteral("флаг '%1' не цифра").arg(s.at(k)));
            } else if (t.is_array()) {
                if (t.size() < 3)
                    return fail(tpath, QStringLiteral("нужно не менее трёх элементов"));
                if (!t.at(0).is_string())
                    return fail(child(tpath, 0), QStringLiteral("ожидалась буква патча"));
                if (!letter(to_qstring(t.at(0)), child(tpath, 0)) || !flag(t.at(1), child(tpath, 1))
                    || !flag(t.at(2), child(tpath, 2)))
                    return false;
            } else {
                return fail(tpath, QStringLiteral("ожидался текст или массив"));
            }
        }
        return true;
    }

    bool status_pair(const Json &value, const QString &path)
    {
        bool ok = value.is_array() && value.size() == 2;
        for (size_t i = 0; ok && i < 2; ++i) {
            const Json &f = value.at(i);
            ok = f.is_number() && (f.get<double>() == 0.0 || f.get<double>() == 1.0);
        }
        return ok || fail(path, QStringLiteral("ожидалась пара [данные, локаль] из 0 и 1"));
    }

    bool alternatives(const QString &text, const QString &path)
    {
        for (const QString &alt : text.split(QLatin1Char('|'))) {
            if (alt.isEmpty())
                return fail(path, QStringLiteral("пустая альтернатива в '%1'").arg(text));
            if (!letter(alt.left(1), path))
                return false;
            for (int k = 1; k < alt.size(); ++k)
                if (alt.at(k) < QLatin1Char('0') || alt.at(k) > QLatin1Char('9'))
                    return fail(path, QStringLiteral("в альтернативе '%1' не цифра '%2'").arg(alt, alt.at(k)));
        }
        return true;
    }

    bool conditions(const Json &entry, const QString &path)
    {
        const QString cpath = child(path, QStringLiteral("conditions"));
        const Json *c = member(entry, path, "conditions");
        if (!c)
            return false;
        if (!c->is_array() || c->empty())
            return fail(cpath, QStringLiteral("ожидался непустой массив"));
        if (is_empty(c->at(0)))
            return true;
        for (size_t i = 0; i < c->size(); ++i) {
            const Json &e = c->at(i);
            if (is_empty(e))
                continue;
            const QString epath = child(cpath, i);
            if (!e.is_array() || e.size() < 2)
                return fail(epath, QStringLiteral("ожидался массив [условие, подсказка]"));
            if (!e.at(0).is_string())
                return fail(child(epath, 0), QStringLiteral("ожидался текст условия"));
            if (!e.at(1).is_string())
                return fail(child(epath, 1), QStringLiteral("ожидался текст подсказки"));
            if (!alternatives(to_qstring(e.at(0)), child(epath, 0)))
                return false;
        }
        return true;
    }

    bool dynamic(const Json &dyn)
    {
        int named = 0;
        for (auto it = dyn.begin(); it != dyn.end(); ++it) {
            const QString key = QString::fromStdString(it.key());
            const QString path = child(QStringLiteral("/patches/dynamic"), key);
            const Json &entry = it.value();
            if (!entry.is_object())
                return fail(path, QStringLiteral("ожидался объект"));
            const Json *name = member(entry, path, "name");
            if (!name)
                return false;
            if (is_empty(*name))
                continue;  // no row: the rest of the entry is never read
            if (!name_text(entry, path) || !letter(key, path))
                return false;
            const QString apath = child(path, QStringLiteral("actions"));
            const Json *actions = member(entry, path, "actions");
            if (!actions)
                return false;
            if (!actions->is_object() || actions->empty())
                return fail(apath, QStringLiteral("ожидался непустой объект"));
            for (auto a = actions->begin(); a != actions->end(); ++a)
                if (!status_pair(a.value(), child(apath, QString::fromStdString(a.key()))))
                    return false;
            if (!conditions(entry, path))
                return false;
            // The list has a cell for each of them, and no more.
            if (++named > kMaxNamedPatches)
                return fail(path, QStringLiteral("больше %1 патчей с именем").arg(kMaxNamedPatches));
        }
        return true;
    }

    QString error_;
};

int flag_value(const Json &value)
{
    if (value.is_number())
        return int(std::trunc(value.get<double>()));
    return to_qstring(value).toInt();
}

}  // namespace

DecodeResult decode_text(const QByteArray &bytes)
{
    const Encoding enc = detect(bytes);
    QTextCodec *codec = QTextCodec::codecForName(enc.codec);
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QByteArray body = bytes.mid(enc.bom);
    const QString text = codec->toUnicode(body.constData(), body.size(), &state);
    if (state.invalidChars != 0 || state.remainingChars != 0 || !text.isValidUtf16())
        return {QByteArray(),
                QStringLiteral("недопустимая последовательность в кодировке %1").arg(QString::fromLatin1(enc.codec))};
    return {text.toUtf8(), QString()};
}

LanguageFile read_language_file(const QByteArray &bytes)
{
    if (bytes.size() > kMaxLanguageFileBytes)
        return {Json(), QStringLiteral("файл больше %1 байт").arg(kMaxLanguageFileBytes)};
    const DecodeResult decoded = decode_text(bytes);
    if (!decoded.error.isEmpty())
        return {Json(), decoded.error};
    const QString outOfBounds = bounds_fault(decoded.utf8);
    if (!outOfBounds.isEmpty())
        return {Json(), outOfBounds};
    LanguageFile file;
    try {
        file.doc = Json::parse(decoded.utf8.constData(), decoded.utf8.constData() + decoded.utf8.size());
    } catch (const Json::exception &e) {
        return {Json(), QStringLiteral("ошибка разбора JSON: ") + QString::fromUtf8(e.what())};
    }
    file.error = validate_language_file(file.doc);
    return file;
}

QString validate_language_file(const Json &doc) { return Validator().run(doc); }

bool is_empty(const Json &value)
{
    switch (value.type()) {
    case Json::value_t::null: return true;
    case Json::value_t::boolean: return !value.get<bool>();
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return value.get<double>() == 0.0;
    case Json::value_t::string:
    case Json::value_t::array:
    case Json::value_t::object:
        return value.empty() || (value.is_string() && value.get_ref<const std::string &>().empty());
    default: return false;
    }
}

QString to_qstring(const Json &text)
{
    return text.is_string() ? QString::fromStdString(text.get<std::string>()) : QString();
}

QString row_title(const QString &name)
{
    static const QRegularExpression group(QStringLiteral("\\([^\\n)]*\\)"));
    return QString(name).remove(group);
}

QString row_font_size(const QString &name)
{
    static const QRegularExpression marker(QStringLiteral("\\(([0-9]+)\\)"));
    const auto m = marker.match(name);
    return (m.hasMatch() ? m.captured(1) : QStringLiteral("10")) + QStringLiteral("pt");
}

QStringList action_texts(const Json &actions)
{
    QStringList texts;
    if (actions.is_array()) {
        for (const Json &a : actions)
            texts << to_qstring(a);
    } else if (actions.is_object()) {
        for (auto it = actions.begin(); it != actions.end(); ++it)
            texts << QString::fromStdString(it.key());
    }
    return texts;
}

std::vector<Choice> patch_choices(const Json &actions)
{
    std::vector<Choice> choices;
    if (!actions.is_object())
        return choices;
    for (auto it = actions.begin(); it != actions.end(); ++it) {
        Choice c{QString::fromStdString(it.key()), {}};
        if (it.value().is_array())
            for (const Json &f : it.value())
                c.status.push_back(f.is_number() ? int(f.get<double>()) : 0);
        choices.push_back(c);
    }
    return choices;
}

std::vector<DefaultTriple> default_triples(const Json &defaults)
{
    std::vector<DefaultTriple> triples;
    if (!defaults.is_array())
        return triples;
    for (const Json &t : defaults) {
        if (t.is_string()) {
            const QString s = to_qstring(t);
            triples.push_back({s.left(1), s.mid(1, 1).toInt(), s.mid(2, 1).toInt()});
        } else if (t.is_array() && t.size() >= 3) {
            triples.push_back({to_qstring(t.at(0)), flag_value(t.at(1)), flag_value(t.at(2))});
        }
    }
    return triples;
}

std::vector<Condition> conditions_of(const Json &conditions)
{
    std::vector<Condition> result;
    if (!conditions.is_array() || conditions.empty() || is_empty(conditions.at(0)))
        return result;
    for (const Json &e : conditions) {
        if (is_empty(e) || !e.is_array() || e.size() < 2)
            continue;
        result.push_back({to_qstring(e.at(0)).split(QLatin1Char('|')), to_qstring(e.at(1))});
    }
    return result;
}

int patch_letter_index(const QString &key)
{
    if (key.size() != 1)
        return -1;
    const QChar c = key.at(0);
    if (c >= QLatin1Char('5') && c <= QLatin1Char('9'))
        return c.unicode() - '5';
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        return 5 + c.unicode() - 'a';
    return -1;
}

}  // namespace tess
