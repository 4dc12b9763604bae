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
// kept line by line, a UTF-8 byte order mark in front included: a save
// changes only the lines of the values set.
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

    // Whether every reader finds the same value for the key: the section is
    // given at most once, the key at most once in it, and never before any
    // section (where a reader that takes such lines could take it instead).
    bool isSole(const QString &section, const QString &key) const;
    // The same text made so that isSole() holds: the lines below a later
    // header of the section move up to the end of its first part, and that
    // header goes; of the key's lines in the section the first stays, the
    // others go with their continuation lines, and so do its lines before
    // any section. Every other line stays as it is.
    IniSettings withSole(const QString &section, const QString &key) const;

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
    // What a line is to the reading.
    struct Role {
        enum Kind : quint8 { Other, Header, Key, Continuation };
        Kind kind = Other;
        int section = -1;  // the section it lies in; -1 before any
        QString key;       // for Key and Continuation lines
    };

    int find(const QString &name) const;
    int addSection(const QString &name);
    QByteArray lineEnd() const;
    void insertLine(int at, const QByteArray &line, const Role &role);
    void pushLine(const QByteArray &line, const Role &role);
    void replaceValue(const QPair<int, int> &lines, const QString &value);
    void addKey(int section, const QString &key, const QString &value);

    QVector<Section> sections_;
    QVector<Place> places_;      // one for each section
    QVector<QByteArray> lines_;  // the file's lines, each with its line end
    QVector<Role> roles_;        // one for each line
};
struct IniSettings::ParseResult {
    IniSettings settings;
    QString error;  // empty when the whole text was well formed
};

}  // namespace tess
