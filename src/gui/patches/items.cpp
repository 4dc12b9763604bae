#include "gui/patches/items.h"

#include "core/session/session.h"
#include "gui/ui/customwidget.h"
#include "gui/ui/look.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const char kFrameStyle[] = "QLabel {\n    color: " TESSARINE_GOLD ";\n} QComboBox{font: %1 10pt %2;}";

const char kEnabledStyle[] =
    "QComboBox {\nborder-image: url(:/main_window/bar.png);\npadding: 1px 0px 1px 10px;\ncolor: #f2f3f4;\n} \n"
    "QComboBox::drop-down {\n    width: 25px;\nborder-top-right-radius: 3px;\n border-bottom-right-radius: 3px;\n}\n"
    "QComboBox::down-arrow {\n    width:20px;\nheight:20px;\nborder-image: url(:/main_window/arrow.png);\n}\n"
    " QComboBox::down-arrow:hover, QComboBox::down-arrow:on {\nborder-image: url(:/main_window/arrow_hover.png);\n}"
    " QAbstractItemView\n{\n border-radius:0px; border: 5px; border-image: url(:/main_window/bg_small.png); "
    "margin-top: 3px; padding: 2px; outline:none;\ncolor:#f2f3f4;\nselection-color:#fffff0;\n"
    "selection-background-color: qlineargradient(spread:reflect, x1:0.5, y1:0.510909, x2:1, y2:0.516864, "
    "stop:0.505682 rgba(255, 199, 0, 75), stop:1 rgba(0, 0, 0, 0));\n}\nQComboBox::drop-down:button{\nborder:none;\n}";

const char kDisabledStyle[] =
    "QComboBox {\n    border-image: url(:/main_window/bar.png);\n    padding: 1px 0px 1px 10px;\n"
    "    color: #777777;\n} \nQComboBox::drop-down {\n    width: 25px;\n    border-top-right-radius: 3px;\n"
    "    border-bottom-right-radius: 3px;\n}\nQComboBox::down-arrow {\n    width:20px;\n    height:20px;\n"
    "    border-image: url(:/main_window/arrow_disabled.png);\n}\n"
    " QComboBox::down-arrow:hover, QComboBox::down-arrow:on {\n    border-image: url(:/main_window/arrow_hover.png);\n}"
    " QAbstractItemView\n{\n border-radius:0px; border: none; outline: 0px;border-image: "
    "url(:/main_window/listbg.png);\n"
    "    color: white;\n    selection-background-color: qlineargradient(spread:pad, x1:1, y1:1, x2:1, y2:0, "
    "stop:0.3125 rgba(50, 50, 50, 55), stop:0.715909 rgba(92, 92, 92, 55));\n}\n"
    "QComboBox::drop-down:button{\n    border:none;\n}\nQComboBox::drop-down:button{\n    border:none;\n}"
    " QToolTip {font: normal 11pt %1; background: transparent; background-color: transparent;color: " TESSARINE_GOLD
    "; "
    "border-width: 1; border-style: solid; border-color: #777777; border-radius: 4; padding: 5px; "
    "background-clip: border;}";

void add_row_shadow(QWidget *owner) { tess::look::add_drop_shadow(owner, 15, QPointF(0, 0), QColor(0, 0, 0, 250)); }

}  // namespace

StaticItem::StaticItem(const RowContext &context, RowKind kind, const tess::RowTitle &title, const QStringList &choices)
    : fontsize(title.fontSize), name(title.name), context_(context), kind_(kind)
{
    const tess::look::Face face = tess::look::row_face(context.locale);
    fontfile = face.family;
    fontweight = face.weight;
    construct(choices);
    comboBox->installEventFilter(context.clickFilter);
    if (kind != RowKind::Patch)
        QObject::connect(comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), comboBox,
                         [this](int i) { perform_fixed_action(i); });
}

StaticItem::~StaticItem()
{
    // The widgets belong to the list; only the handlers that point at this
    // row must go with it.
    if (comboBox)
        QObject::disconnect(comboBox, nullptr, nullptr, nullptr);
}

void StaticItem::perform_fixed_action(int index)
{
    switch (kind_) {
    case RowKind::Fonts: (void)session().change_fonts(index); break;
    case RowKind::Dxvk: (void)session().change_dxvk(index); break;
    case RowKind::AllPatches: (void)session().change_allpatches(index); break;
    case RowKind::Patch: break;
    }
}

void StaticItem::show_first_state()
{
    const QSignalBlocker blocked(comboBox);
    show_session_state();
}

void StaticItem::show_state(const tess::RowState &state)
{
    if (state.shown < 0)
        show_unknown();
    else
        comboBox->setCurrentIndex(state.shown);
}

void StaticItem::show_session_state()
{
    const tess::OptionRows &rows = session().rows();
    switch (kind_) {
    case RowKind::Fonts: show_state(rows.fonts); break;
    case RowKind::Dxvk: show_state(rows.dxvk); break;
    case RowKind::AllPatches:
        show_state(rows.allpatches);
        if (sign)
            sign->setVisible(rows.allpatchesSign);
        break;
    case RowKind::Patch: break;
    }
}

void StaticItem::construct(const QStringList &choices)
{
    // Made in the list, so that its widgets are polished once, when shown,
    // and not again when the list takes the row.
    frame = new QFrame(context_.list);
    frame->setMinimumSize(QSize(0, 50));
    frame->setMaximumSize(QSize(QWIDGETSIZE_MAX, 50));
    frame->setStyleSheet(QString::fromLatin1(kFrameStyle).arg(fontweight).arg(fontfile));
    frame->setMaximumWidth(160);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setFrameShadow(QFrame::Plain);
    frame->setLineWidth(0);
    frame->setObjectName(QStringLiteral("frame"));

    verticalLayout = new QVBoxLayout(frame);
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    verticalLayout->setSpacing(3);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));

    label = new QLabel(frame);
    label->setMinimumSize(QSize(0, 20));
    label->setMaximumSize(QSize(QWIDGETSIZE_MAX, 15));
    label->setStyleSheet(QStringLiteral("font: %1 %2 %3;").arg(fontweight).arg(fontsize, fontfile));
    label->setObjectName(QStringLiteral("label"));
    label->setText(name);
    add_row_shadow(label);
    verticalLayout->addWidget(label);

    comboBox = new RowComboBox(frame);
    // Rows start enabled. The look is set before the line edit and list
    // exist: set afterwards, the change would go through them as well.
    set_active(1);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(comboBox->sizePolicy().hasHeightForWidth());
    comboBox->setSizePolicy(policy);
    comboBox->setFocusPolicy(Qt::NoFocus);
    comboBox->setObjectName(QStringLiteral("comboBox"));
    // Editable only so that it can show "???" while no choice is selected;
    // the line edit itself takes no input.
    comboBox->setEditable(true);
    comboBox->lineEdit()->setAlignment(Qt::AlignRight);
    comboBox->lineEdit()->setReadOnly(true);
    comboBox->lineEdit()->setEnabled(false);
    comboBox->addItems(choices);
    add_row_shadow(comboBox);

    for (int i = 0; i < comboBox->count(); ++i)
        comboBox->setItemData(i, Qt::AlignCenter, Qt::TextAlignmentRole);
    verticalLayout->addWidget(comboBox);
}

void StaticItem::set_active(int mode)
{
    frame->setEnabled(mode != 0);
    const QString sheet =
        mode != 0 ? QString::fromLatin1(kEnabledStyle) : QString::fromLatin1(kDisabledStyle).arg(fontfile);
    // Every refresh re-checks every row; setting the same sheet again would
    // only re-polish the combo box for nothing.
    if (comboBox->styleSheet() != sheet)
        comboBox->setStyleSheet(sheet);
}

void StaticItem::show_unknown()
{
    comboBox->setCurrentIndex(-1);
    comboBox->setCurrentText(QStringLiteral("???"));
}
