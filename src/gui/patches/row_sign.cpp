// The warning sign beside a row's box: what the archive check found of a
// patch's files, and the renames its last change could not make.
#include "gui/patches/items.h"

#include "core/patches/option_rows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

void StaticItem::show_failure(const QString &text)
{
    if (failure_ == text)
        return;
    failure_ = text;
    update_warning_sign();
}

QStringList StaticItem::warning_lines() const { return failure_.isEmpty() ? QStringList() : QStringList{failure_}; }

void StaticItem::update_warning_sign()
{
    const QStringList lines = warning_lines();
    if (!lines.isEmpty() && !warningSign) {
        // Beside the box, as the all-patches row shows its sign; made only
        // for a row that needs it, so the others keep their layout.
        warningSign = new QLabel(frame);
        warningSign->setObjectName(QStringLiteral("warningSign"));
        const QImage image(QStringLiteral(":/main_window/sign.png"));
        warningSign->setPixmap(QPixmap::fromImage(image.scaled(11, 30, Qt::KeepAspectRatio)));
        warningSign->setAlignment(Qt::AlignVCenter);
        auto *beside = new QHBoxLayout;
        beside->setContentsMargins(0, 0, 0, 0);
        beside->setSpacing(2);
        const int at = verticalLayout->indexOf(comboBox);
        verticalLayout->removeWidget(comboBox);
        beside->addWidget(comboBox, 1);
        beside->addWidget(warningSign);
        verticalLayout->insertLayout(at, beside);
    }
    if (warningSign) {
        warningSign->setVisible(!lines.isEmpty());
        warningSign->setToolTip(lines.join(QLatin1Char('\n')));
    }
}

QStringList DynamicItem::warning_lines() const { return StaticItem::warning_lines() + archiveLines; }

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
    update_warning_sign();
    const tess::PatchRowState *row = state();
    comboBox->setToolTip(tooltip_with_archives(row ? row->state.toolTip : QString()));
}
