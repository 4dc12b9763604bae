#include "gui/patches/items.h"

#include "gui/app/mainwindow.h"
#include "gui/ui/customwidget.h"
#include "gui/ui/look.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
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

int StaticItem::static_num = 0;

StaticItem::StaticItem(MainWindow *parent, const tess::Json &data) : StaticItem(parent, data, Kind::Fixed) {}

StaticItem::StaticItem(MainWindow *parent_, const tess::Json &data, Kind kind)
    : parent(parent_), actions(data.at("actions"))
{
    const QString raw = tess::to_qstring(data.at("name"));
    fontsize = tess::row_font_size(raw);
    name = tess::row_title(raw);
    // The rows' own rule: both Cyrillic and English locales take the
    // Cyrillic face; every other locale the Latin one.
    if (parent->locale.contains(QLatin1String("ru")) || parent->locale.contains(QLatin1String("en"))) {
        fontfile = tess::look::kCyrillicFamily;
        fontweight = tess::look::kCyrillicWeight;
    } else {
        fontfile = tess::look::kLatinFamily;
        fontweight = tess::look::kLatinWeight;
    }
    construct();
    configure();
    if (kind == Kind::PatchRow)
        return;
    wire_fixed_row();
    ++static_num;
}

StaticItem::~StaticItem()
{
    // The widgets belong to the list; only the handlers that point at this
    // row must go with it.
    if (comboBox)
        QObject::disconnect(comboBox, nullptr, nullptr, nullptr);
}

void StaticItem::on_index_changed(std::function<void(int)> handler)
{
    QObject::connect(comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), comboBox, std::move(handler));
}

void StaticItem::wire_fixed_row()
{
    switch (static_num) {
    case 0:
        update_fonts_status();
        on_index_changed([this](int i) { perform_fonts_action(i); });
        break;
    case 1:
        update_dxvk_status();
        on_index_changed([this](int i) { perform_dxvk_action(i); });
        break;
    case 2:
        construct_warn_sign();
        update_allpatches_status();
        on_index_changed([this](int i) { perform_allpatches_action(i); });
        break;
    default: break;
    }
}

void StaticItem::construct()
{
    // Made in the list, so that its widgets are polished once, when shown,
    // and not again when the list takes the row.
    frame = new QFrame(parent->scrollArea_widget);
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
    comboBox->addItems(tess::action_texts(actions));
    add_row_shadow(comboBox);

    for (int i = 0; i < comboBox->count(); ++i)
        comboBox->setItemData(i, Qt::AlignCenter, Qt::TextAlignmentRole);
    verticalLayout->addWidget(comboBox);
}

void StaticItem::configure() { comboBox->installEventFilter(parent); }

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
