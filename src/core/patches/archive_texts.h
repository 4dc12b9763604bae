#pragma once

#include "core/config/langfile.h"
#include "core/patches/archive.h"

#include <QString>

// What the player reads about an archive check. English is built in; a
// language file may carry its own texts in its optional member
// `archive_check`, one text per member named as below.
namespace tess {

struct ArchiveTexts {
    QString sound = QStringLiteral("sound");
    QString notArchive = QStringLiteral("not an archive");
    QString cutShort = QStringLiteral("cut short: %1 of %2 MB");
    QString damaged = QStringLiteral("damaged: %1 %2");
    QString unreadable = QStringLiteral("unreadable: %1");
    QString changed = QStringLiteral("changed since it was shipped");
    QString header = QStringLiteral("the header");
    QString hashTable = QStringLiteral("the hash table");
    QString blockTable = QStringLiteral("the block table");
    QString highBlockTable = QStringLiteral("the high block table");
    QString extendedTable = QStringLiteral("an extended table");
    QString file = QStringLiteral("file %1");
    QString sectorTable = QStringLiteral("the sector table of file %1");
    QString entry = QStringLiteral("(entry %1)");
    QString outside = QStringLiteral("lies outside the archive");
    QString blank = QStringLiteral("is zero-filled");
    QString badIndex = QStringLiteral("points to no file");
    QString badFlags = QStringLiteral("has impossible flags");
    QString badSize = QStringLiteral("has impossible sizes");
    QString notAscending = QStringLiteral("is not ascending");
    QString unknownVersion = QStringLiteral("has an unknown format version");
    QString summary = QStringLiteral("%1 archives checked, %2 not sound");
};

// The built-in texts with those of `doc["archive_check"]` put over them;
// a member that is missing or not a text keeps the English one.
ArchiveTexts archive_texts(const Json &doc);

// "cut short: 812 of 1,340 MB", "not an archive", ...
QString describe(const ArchiveCheck &check, const ArchiveTexts &texts = ArchiveTexts());

}  // namespace tess
