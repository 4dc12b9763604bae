#pragma once

#include "core/config/langfile.h"
#include "system/system.h"

#include <QLocale>
#include <QString>

// What the player reads when a click does not do what was asked. English is
// built in; a language file may carry its own texts in its optional member
// `notices`, one text per member named as below. %1 and %2 are the details.
namespace tess {

struct NoticeTexts {
    // %1: the game folder's absolute path.
    QString notGameFolder = QStringLiteral(
        "No wow.exe or Data folder in %1. Put the launcher's folder into the game's folder, next to wow.exe.");
    QString gameRunning = QStringLiteral("The game is running: close it first.");
    QString probeMissing =
        QStringLiteral("Data/patch-2.mpq is missing, so the game counts as running: nothing was changed.");
    // %1: the file, from the game folder; %2: a reason.
    QString switchFailed = QStringLiteral("Could not rename %1: %2.");
    // %1: the program; %2: a reason.
    QString launchFailed = QStringLiteral("Could not start %1: %2.");
    // %1: the amount freed ("1.2 GB"); %2: the number of files ("3,456").
    QString cleaned = QStringLiteral("Freed %1, %2 files.");
    // %1: the path left, from the game folder; %2: a reason.
    QString cleanStopped = QStringLiteral("Cleaning stopped at %1: %2.");
    // %1: the address.
    QString linkFailed = QStringLiteral("Could not open the browser. The address: %1");

    // The reasons, as %2 above.
    QString accessDenied = QStringLiteral("access denied or write-protected");
    QString inUse = QStringLiteral("in use by another program");
    QString readOnly = QStringLiteral("read-only disk");
    QString missing = QStringLiteral("not found");
    QString folderInTheWay = QStringLiteral("a folder is in the way");
    QString noWine = QStringLiteral("no Wine on PATH and no WINE set");
    // Added where the game lies under the system's program folders.
    QString adminHint = QStringLiteral("run the launcher as administrator or move the game out of Program Files");
};

// The built-in texts with those of `doc["notices"]` put over them; a member
// that is missing, not a text or empty keeps the English one.
NoticeTexts notice_texts(const Json &doc);

// The text of the member named `member` ("switch_failed"); empty for a name
// that is none of them.
QString notice_text(const NoticeTexts &texts, const QString &member);

// The text of a failure's reason; for Other, the system's own message for
// `error`.
QString reason_text(const NoticeTexts &texts, FailureReason reason, int error);

// The language of a language file's texts, for its numbers: the first part
// of its name ("config_ru.json": "config", "ru") that names a language;
// English when none does.
QLocale file_language(const QString &fileName);

// A count with the language's thousands separator: "3,456" in English,
// "3 456" in Russian (a no-break space, so that a notice never breaks it).
QString count_text(qint64 count, const QLocale &language);

// An amount of bytes, in units of 1024: below 1 KB exact ("0 bytes",
// "512 bytes"); from there the largest unit that keeps the value at 1 or
// more, one decimal below 10 ("1.2 GB", "9.9 MB"), whole above ("340 KB",
// "12 GB"). A value that rounds to 1024 is given in the next unit. Russian
// takes its own unit names and decimal comma ("1,2 ГБ").
QString size_text(qint64 bytes, const QLocale &language);

}  // namespace tess
