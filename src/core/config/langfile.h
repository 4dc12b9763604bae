#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

#include <vector>

// The language file: its encodings, its parsed form and the values the
// option rows take from it. Member order of objects is kept (ordered_json):
// it is the order of the rows and of the choices.
namespace tess {

using Json = nlohmann::ordered_json;

// Any of UTF-8 (with or without BOM), UTF-16 or UTF-32 in either byte
// order, recognised by BOM or by the zero bytes of the first four, is
// turned into UTF-8 without BOM. Invalid sequences and lone surrogates
// are refused.
struct DecodeResult {
    QByteArray utf8;
    QString error;  // empty on success
};
DecodeResult decode_text(const QByteArray &bytes);

// Bounds a language file must keep. The shipped files are about 3 KB, six
// levels deep, with at most 13 members in an object. The parser copies
// values recursively and finds an object's keys by a linear search, so a
// deeper or wider file is refused before it is parsed.
inline constexpr int kMaxLanguageFileBytes = 1 << 20;
inline constexpr int kMaxNesting = 64;
inline constexpr int kMaxMembers = 256;
// The place of a patch letter among the 31 (the digits 5 to 9, then a to z);
// -1 for a text that is not one.
int patch_letter_index(const QString &key);

// The most patches with a name the list has cells for.
inline constexpr int kMaxNamedPatches = 26;

// The implicit noexcept default constructor reaches nlohmann's unreachable
// throw for a null value (json.hpp marks its own constructor the same way).
struct LanguageFile {  // NOLINT(bugprone-exception-escape)
    Json doc;
    QString error;  // empty on success: a Russian text naming the fault and where
};

// Checks the bounds, decodes, parses and validates the bytes of a language
// file. A NUL byte makes the file invalid.
LanguageFile read_language_file(const QByteArray &bytes);

// Checks every member that the program reads; returns the first fault as
// "<JSON path>: <why>" in Russian, or an empty text.
QString validate_language_file(const Json &doc);

// Null, false, 0, "", [] and {} are empty; everything else is not.
bool is_empty(const Json &value);

QString to_qstring(const Json &text);

// "Name (note) (12)" → "Name  ": every parenthesised group removed.
QString row_title(const QString &name);
// The point size from the first "(digits)" group, "10pt" without one.
QString row_font_size(const QString &name);

// The choice texts of a row: an array of texts, or the member names of an object.
QStringList action_texts(const Json &actions);

struct Choice {
    QString text;
    std::vector<int> status;
};
// The choices of a patch row: member name and status pair, in document order.
std::vector<Choice> patch_choices(const Json &actions);

struct DefaultTriple {
    QString letter;
    int data = 0;
    int locale = 0;
};
std::vector<DefaultTriple> default_triples(const Json &defaults);

struct Condition {
    QStringList alternatives;
    QString hint;
};
// Nothing when the first element is empty; empty elements are skipped.
std::vector<Condition> conditions_of(const Json &conditions);

}  // namespace tess
