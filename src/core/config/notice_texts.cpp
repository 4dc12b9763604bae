#include "core/config/notice_texts.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <iterator>

namespace tess {

namespace {

struct Member {
    const char *name;
    QString NoticeTexts::*text;
};

// The members of `notices` and the texts they give.
const Member kMembers[] = {
    {"not_game_folder", &NoticeTexts::notGameFolder},
    {"game_running", &NoticeTexts::gameRunning},
    {"probe_missing", &NoticeTexts::probeMissing},
    {"switch_failed", &NoticeTexts::switchFailed},
    {"launch_failed", &NoticeTexts::launchFailed},
    {"cleaned", &NoticeTexts::cleaned},
    {"clean_stopped", &NoticeTexts::cleanStopped},
    {"link_failed", &NoticeTexts::linkFailed},
    {"access_denied", &NoticeTexts::accessDenied},
    {"in_use", &NoticeTexts::inUse},
    {"read_only", &NoticeTexts::readOnly},
    {"missing", &NoticeTexts::missing},
    {"folder_in_the_way", &NoticeTexts::folderInTheWay},
    {"no_wine", &NoticeTexts::noWine},
    {"admin_hint", &NoticeTexts::adminHint},
};

}  // namespace

NoticeTexts notice_texts(const Json &doc)
{
    NoticeTexts texts;
    if (!doc.is_object() || !doc.contains("notices") || !doc["notices"].is_object())
        return texts;
    const Json &given = doc["notices"];
    for (const Member &member : kMembers)
        if (given.contains(member.name) && given[member.name].is_string()
            && !given[member.name].get<std::string>().empty())
            texts.*member.text = to_qstring(given[member.name]);
    return texts;
}

QString notice_text(const NoticeTexts &texts, const QString &member)
{
    for (const Member &m : kMembers)
        if (member == QLatin1String(m.name))
            return texts.*m.text;
    return QString();
}

QString reason_text(const NoticeTexts &texts, FailureReason reason, int error)
{
    switch (reason) {
    case FailureReason::AccessDenied: return texts.accessDenied;
    case FailureReason::InUse: return texts.inUse;
    case FailureReason::ReadOnly: return texts.readOnly;
    case FailureReason::Missing: return texts.missing;
    case FailureReason::FolderInTheWay: return texts.folderInTheWay;
    case FailureReason::Other: break;
    }
    return system_message(error);
}

QLocale file_language(const QString &fileName)
{
    const QString base = QFileInfo(fileName).completeBaseName();
    for (const QString &part : base.split(QRegularExpression(QStringLiteral("[^A-Za-z]+")), Qt::SkipEmptyParts)) {
        const QLocale language(part.toLower());
        if (language.language() != QLocale::C)
            return language;
    }
    return QLocale(QLocale::English);
}

namespace {

// Grouped as the language groups thousands, whatever options the locale
// was given.
QLocale grouping(QLocale language)
{
    language.setNumberOptions(QLocale::DefaultNumberOptions);
    return language;
}

bool russian(const QLocale &language) { return language.language() == QLocale::Russian; }

}  // namespace

QString count_text(qint64 count, const QLocale &language) { return grouping(language).toString(count); }

QString size_text(qint64 bytes, const QLocale &language)
{
    const bool ru = russian(language);
    bytes = qMax<qint64>(bytes, 0);
    if (bytes < 1024) {
        const QString unit = ru ? QStringLiteral("байт")
            : bytes == 1        ? QStringLiteral("byte")
                                : QStringLiteral("bytes");
        return count_text(bytes, language) + QLatin1Char(' ') + unit;
    }
    static const char *const english[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    static const char *const cyrillic[] = {"КБ", "МБ", "ГБ", "ТБ", "ПБ", "ЭБ"};
    constexpr int last = int(std::size(english)) - 1;
    double value = double(bytes) / 1024.0;
    int unit = 0;
    while (value >= 1024.0 && unit < last)
        value /= 1024.0, ++unit;
    QString number;
    if (value < 9.95) {
        number = grouping(language).toString(value, 'f', 1);
    } else {
        qint64 whole = qRound64(value);
        if (whole >= 1024 && unit < last) {
            ++unit;
            number = grouping(language).toString(double(whole) / 1024.0, 'f', 1);
        } else {
            number = count_text(whole, language);
        }
    }
    return number + QLatin1Char(' ') + QString::fromUtf8(ru ? cyrillic[unit] : english[unit]);
}

}  // namespace tess
