#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

#include <optional>

namespace tess {

// The most of the settings file that is read; a larger file is not used.
inline constexpr qint64 kMaxSettingsFileBytes = qint64(64) << 20;

// A small INI document: sections in file order, each an ordered list of
// keys (lower case) and their text values. A section named DEFAULT lends
// its keys to every other section that lacks them. The file's own bytes are
// kept line by line: a save changes only the lines of the values set.
class IniSettings
{
public:
    struct Section {
        QString name;
        QVector<QPair<QString, QString>> items;
    };

    bool hasSection(const QString &name) const;
    // The value of a key, looked up without regard to letter case, falling
    // back to DEFAULT; nothing when neither holds it or the section is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Sets a key. A new value replaces the bytes of the old one, the key, its
    // delimiter and the spaces around it kept; a missing key gets a line
    // after the last of its section, spaced as its neighbours; a missing
    // section is added at the end. Setting the value a key has changes nothing.
    void setValue(const QString &section, const QString &key, const QString &value);

    const QVector<Section> &sections() const { return sections_; }

    // The writing form: the lines read, with the values set in place. Text
    // the program adds is in the system's 8-bit code page, with the file's
    // line end (the platform's for a file without one).
    QByteArray toText() const;

    struct ParseResult;
    // Reads the whole text in one pass, NUL characters included, and reports
    // the first fault: a line that is no section, key or comment (ignored),
    // a key before any section (ignored), a section or key given again (the
    // section continues the first, the later value wins). Every line is kept.
    static ParseResult parse(const QByteArray &text);

private:
    // Where a section stands among the lines: the last of its header and
    // value lines, and for each key the first and last line of its value.
    struct Place {
        int end = -1;
        QVector<QPair<int, int>> values;
    };

    int find(const QString &name) const;
    int addSection(const QString &name);
    QByteArray lineEnd() const;
    void insertLine(int at, const QByteArray &line);
    void replaceValue(const QPair<int, int> &lines, const QString &value);
    void addKey(int section, const QString &key, const QString &value);

    QVector<Section> sections_;
    QVector<Place> places_;      // one for each section
    QVector<QByteArray> lines_;  // the file's lines, each with its line end
};
struct IniSettings::ParseResult {
    IniSettings settings;
    QString error;  // empty when the whole text was well formed
};

}  // namespace tess
