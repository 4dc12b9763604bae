// What a patch row shows of the archive check.
#include "gui/patches/items.h"

#include "core/patches/option_rows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

QString DynamicItem::tooltip_with_archives(const QString &hints) const
{
    QStringList lines;
    if (!hints.isEmpty())
        lines << hints;
    lines << archiveLines;
    return lines.join(QLatin1Char('\n'));
}

void DynamicItem::show_archive_problems(const QStringList &lines)
{
    archiveLines = lines;
    if (!lines.isEmpty() && !archiveSign) {
        // Beside the box, as the all-patches row shows its sign; made only
        // for a broken row, so sound rows keep their layout.
        archiveSign = new QLabel(frame);
        archiveSign->setObjectName(QStringLiteral("archiveSign"));
        const QImage image(QStringLiteral(":/main_window/sign.png"));
        archiveSign->setPixmap(QPixmap::fromImage(image.scaled(11, 30, Qt::KeepAspectRatio)));
        archiveSign->setAlignment(Qt::AlignVCenter);
        auto *beside = new QHBoxLayout;
        beside->setContentsMargins(0, 0, 0, 0);
        beside->setSpacing(2);
        const int at = verticalLayout->indexOf(comboBox);
        verticalLayout->removeWidget(comboBox);
        beside->addWidget(comboBox, 1);
        beside->addWidget(archiveSign);
        verticalLayout->insertLayout(at, beside);
    }
    if (archiveSign) {
        archiveSign->setVisible(!lines.isEmpty());
        archiveSign->setToolTip(lines.join(QLatin1Char('\n')));
    }
    const tess::PatchRowState *row = state();
    comboBox->setToolTip(tooltip_with_archives(row ? row->state.toolTip : QString()));
}
