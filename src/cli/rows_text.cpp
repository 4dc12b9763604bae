#include "cli/rows_text.h"

#include "core/session/session.h"

namespace tess::cli {

namespace {

QString shown_text(const QStringList &choices, int shown)
{
    return shown < 0 ? QStringLiteral("???") : choices.value(shown);
}

QString line(const QString &id, const RowTitle &title, const QStringList &choices, int shown,
             const QStringList &why = {})
{
    return QStringList{id, title.name.trimmed(), shown_text(choices, shown), numbered(choices),
                       why.join(QStringLiteral("; "))}
               .join(QLatin1Char('\t'))
        + QLatin1Char('\n');
}

}  // namespace

QString numbered(const QStringList &choices)
{
    QStringList parts;
    for (int i = 0; i < choices.size(); ++i)
        parts << QString::number(i) + QLatin1Char(' ') + choices.at(i);
    return parts.join(QStringLiteral(" | "));
}

QString rows_text(const Session &session, const QStringList &notes)
{
    const RowsModel &model = session.model();
    const OptionRows &rows = session.rows();
    QString text =
        line(QStringLiteral("allpatches"), model.allpatches.title, model.allpatches.choices, rows.allpatches.shown);
    text += line(QStringLiteral("fonts"), model.fonts.title, model.fonts.choices, rows.fonts.shown);
    text += line(QStringLiteral("dxvk"), model.dxvk.title, model.dxvk.choices, rows.dxvk.shown);
    for (size_t i = 0; i < rows.listed().size(); ++i) {
        const PatchRowState &r = *rows.listed()[i];
        QStringList why = r.state.toolTip.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (int(i) < notes.size() && !notes.at(int(i)).isEmpty())
            why << notes.at(int(i));
        text += line(r.row.key, r.row.title, r.row.texts(), r.state.shown, why);
    }
    return text;
}

}  // namespace tess::cli
