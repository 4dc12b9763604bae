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
// its keys to every other section that lacks them.
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
    // Sets a key, adding the section and the key where they are missing.
    void setValue(const QString &section, const QString &key, const QString &value);

    const QVector<Section> &sections() const { return sections_; }

    // The writing form: DEFAULT first, then each section in order, "key = value"
    // lines, an empty line after each section, the platform's line end, in
    // the system's 8-bit code page.
    QByteArray toText() const;

    struct ParseResult;
    // Reads the whole text in one pass, NUL characters included, and reports
    // the first fault: a line that is no section, key or comment (skipped),
    // a key before any section (skipped), a section or key given again (the
    // section continues the first, the later value wins).
    static ParseResult parse(const QByteArray &text);

private:
    Section *find(const QString &name);
    const Section *find(const QString &name) const;

    QVector<Section> sections_;
};

struct IniSettings::ParseResult {
    IniSettings settings;
    QString error;  // empty when the whole text was well formed
};

}  // namespace tess
