#include "core/patches/archive_texts.h"

#include <QLocale>

#include <utility>

namespace tess {

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;
// Enough to tell one byte apart in an archive of many gigabytes.
constexpr int kMaxDecimals = 9;

// Whole megabytes with thousands grouped; decimals where whole ones would
// show a small archive as "0 of 0".
QString megabytes(quint64 bytes, int decimals)
{
    const QLocale english(QLocale::English);
    return english.toString(double(bytes) / kMegabyte, 'f', decimals);
}

}  // namespace

ArchiveTexts archive_texts(const Json &doc)
{
    ArchiveTexts texts;
    if (!doc.is_object() || !doc.contains("archive_check") || !doc["archive_check"].is_object())
        return texts;
    const Json &given = doc["archive_check"];
    const std::pair<const char *, QString *> members[] = {
        {"sound", &texts.sound},
        {"not_archive", &texts.notArchive},
        {"cut_short", &texts.cutShort},
        {"damaged", &texts.damaged},
        {"unreadable", &texts.unreadable},
        {"changed", &texts.changed},
        {"header", &texts.header},
        {"hash_table", &texts.hashTable},
        {"block_table", &texts.blockTable},
        {"high_block_table", &texts.highBlockTable},
        {"extended_table", &texts.extendedTable},
        {"file", &texts.file},
        {"sector_table", &texts.sectorTable},
        {"entry", &texts.entry},
        {"outside", &texts.outside},
        {"blank", &texts.blank},
        {"bad_index", &texts.badIndex},
        {"bad_flags", &texts.badFlags},
        {"bad_size", &texts.badSize},
        {"not_ascending", &texts.notAscending},
        {"unknown_version", &texts.unknownVersion},
        {"summary", &texts.summary},
    };
    for (const auto &[name, text] : members)
        if (given.contains(name) && given[name].is_string() && !given[name].get<std::string>().empty())
            *text = to_qstring(given[name]);
    return texts;
}

QString describe(const ArchiveCheck &check, const ArchiveTexts &texts)
{
    switch (check.state) {
    case ArchiveState::Sound: return texts.sound;
    case ArchiveState::NotArchive: return texts.notArchive;
    case ArchiveState::Changed: return texts.changed;
    case ArchiveState::Unreadable: return texts.unreadable.arg(check.error);
    case ArchiveState::CutShort: {
        const double expected = double(check.expectedBytes);
        int decimals = expected < kMegabyte ? 2 : expected < 10 * kMegabyte ? 1 : 0;
        // Rounded alike, a file that lacks a few bytes would read as whole.
        while (decimals < kMaxDecimals
               && megabytes(check.actualBytes, decimals) == megabytes(check.expectedBytes, decimals))
            ++decimals;
        return texts.cutShort.arg(megabytes(check.actualBytes, decimals), megabytes(check.expectedBytes, decimals));
    }
    case ArchiveState::Damaged: break;
    }
    const QString number = QString::number(check.entry);
    QString part;
    bool table = true;
    switch (check.part) {
    case ArchivePart::Header: part = texts.header; break;
    case ArchivePart::HashTable: part = texts.hashTable; break;
    case ArchivePart::BlockTable: part = texts.blockTable; break;
    case ArchivePart::HighBlockTable: part = texts.highBlockTable; break;
    case ArchivePart::ExtendedTable: part = texts.extendedTable; break;
    case ArchivePart::File: part = texts.file.arg(number), table = false; break;
    case ArchivePart::SectorTable: part = texts.sectorTable.arg(number), table = false; break;
    }
    QString fault;
    switch (check.fault) {
    case ArchiveFault::None: break;
    case ArchiveFault::Outside: fault = texts.outside; break;
    case ArchiveFault::Blank: fault = texts.blank; break;
    case ArchiveFault::BadIndex: fault = texts.badIndex; break;
    case ArchiveFault::BadFlags: fault = texts.badFlags; break;
    case ArchiveFault::BadSize: fault = texts.badSize; break;
    case ArchiveFault::NotAscending: fault = texts.notAscending; break;
    case ArchiveFault::UnknownVersion: fault = texts.unknownVersion; break;
    }
    QString text = texts.damaged.arg(part, fault);
    if (table && check.entry >= 0)
        text += QLatin1Char(' ') + texts.entry.arg(number);
    return text;
}

}  // namespace tess
