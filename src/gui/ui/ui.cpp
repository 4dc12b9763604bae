#include "gui/ui/ui.h"

#include "gui/app/notice.h"
#include "gui/ui/customwidget.h"
#include "gui/ui/look.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QMainWindow>
#include <QScrollArea>
#include <QSlider>
#include <QSpacerItem>
#include <QVariant>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QSize kWindowSize(830, 570);
// Around `Widget`, which holds everything else: room for its shadow.
const QMargins kOuterMargins(5, 5, 20, 20);

QSizePolicy expanding_policy(QWidget *w)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(w->sizePolicy().hasHeightForWidth());
    return policy;
}

void no_frame(QFrame *frame)
{
    frame->setFrameShape(QFrame::NoFrame);
    frame->setFrameShadow(QFrame::Plain);
}

// Font H of the text buttons: the family alone, drawn antialiased.
QFont font_h(const QString &family)
{
    QFont font;
    font.setFamily(family);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QToolButton *text_button(QWidget *parent, const char *name, const QString &family, int minWidth, const char *sheet)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumSize(QSize(minWidth, 40));
    button->setFont(font_h(family));
    button->setCursor(QCursor(Qt::PointingHandCursor));
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QString::fromLatin1(sheet));
    return button;
}

QToolButton *scroll_button(QWidget *parent, const char *name, const char *sheet)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumSize(QSize(25, 25));
    button->setMaximumSize(QSize(25, 25));
    button->setCursor(QCursor(Qt::PointingHandCursor));
    button->setStyleSheet(QString::fromLatin1(sheet));
    button->setText(QString());
    return button;
}

}  // namespace

QSize Ui_MainWindow::background_size()
{
    // Drawn stretched over `Widget`, which fills the fixed window inside
    // the outer margins.
    return QRect(QPoint(), kWindowSize).marginsRemoved(kOuterMargins).size();
}

QSize Ui_MainWindow::window_size() { return kWindowSize; }

void Ui_MainWindow::setupUi(QMainWindow *MainWindow, const QString &locale)
{
    choose_font(locale);
    setup_window(MainWindow);
    setup_frame(MainWindow);
    setup_list();
    setup_scroll_column();
    setup_actions();
    setup_menu();
    setup_notice();
    gridLayout->addWidget(Widget, 0, 0, 1, 1);

    MainWindow->setCentralWidget(MainWidget);
    retranslateUi(MainWindow);
    QMetaObject::connectSlotsByName(MainWindow);
}

void Ui_MainWindow::choose_font(const QString &locale)
{
    const tess::look::Face face = tess::look::window_face(locale);
    fontfile = face.family;
    fontweight = face.weight;
}

void Ui_MainWindow::setup_window(QMainWindow *MainWindow)
{
    if (MainWindow->objectName().isEmpty())
        MainWindow->setObjectName(QStringLiteral("MainWindow"));
    MainWindow->resize(kWindowSize);
    MainWindow->setMinimumSize(kWindowSize);
    MainWindow->setMaximumSize(kWindowSize);
}

void Ui_MainWindow::setup_frame(QMainWindow *MainWindow)
{
    MainWidget = new QWidget(MainWindow);
    MainWidget->setObjectName(QStringLiteral("MainWidget"));
    MainWidget->setSizePolicy(expanding_policy(MainWidget));
    MainWidget->setStyleSheet(ui_sheets::main_widget(fontweight, fontfile));
    gridLayout = new QGridLayout(MainWidget);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setContentsMargins(kOuterMargins);
    gridLayout->setSpacing(0);

    Widget = new QWidget(MainWidget);
    Widget->setObjectName(QStringLiteral("Widget"));
    Widget->setSizePolicy(expanding_policy(Widget));
    Widget->setStyleSheet(QString::fromLatin1(ui_sheets::widget));
    gridLayout_2 = new QGridLayout(Widget);
    gridLayout_2->setObjectName(QStringLiteral("gridLayout_2"));
    gridLayout_2->setContentsMargins(10, 10, 10, 10);
    gridLayout_2->setSpacing(10);
}

void Ui_MainWindow::setup_list()
{
    scrollArea_frame = new QFrame(Widget);
    scrollArea_frame->setObjectName(QStringLiteral("scrollArea_frame"));
    scrollArea_frame->setMinimumSize(QSize(410, 0));
    scrollArea_frame->setSizePolicy(expanding_policy(scrollArea_frame));
    scrollArea_frame->setStyleSheet(QString::fromLatin1(ui_sheets::scroll_area_frame));
    no_frame(scrollArea_frame);
    scrollArea_frame->setLineWidth(0);
    gridLayout_5 = new QGridLayout(scrollArea_frame);
    gridLayout_5->setObjectName(QStringLiteral("gridLayout_5"));
    gridLayout_5->setContentsMargins(30, 30, 25, 32);
    gridLayout_5->setSpacing(0);

    scrollArea = new QScrollArea(scrollArea_frame);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setMinimumSize(QSize(0, 0));
    scrollArea->setSizePolicy(expanding_policy(scrollArea));
    scrollArea->setFocusPolicy(Qt::NoFocus);
    scrollArea->setStyleSheet(QString());
    no_frame(scrollArea);
    scrollArea->setLineWidth(0);
    scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidgetResizable(true);

    scrollArea_widget = new QWidget();
    scrollArea_widget->setObjectName(QStringLiteral("scrollArea_widget"));
    scrollArea_widget->setGeometry(QRect(0, 0, 320, 463));
    scrollArea_widget->setStyleSheet(QString());
    gridLayout_3 = new QGridLayout(scrollArea_widget);
    gridLayout_3->setObjectName(QStringLiteral("gridLayout_3"));
    gridLayout_3->setContentsMargins(0, 5, 5, 5);
    gridLayout_3->setSpacing(5);
    scrollArea->setWidget(scrollArea_widget);
    gridLayout_5->addWidget(scrollArea, 0, 0);
}

void Ui_MainWindow::setup_scroll_column()
{
    scrollFrame = new QFrame(scrollArea_frame);
    scrollFrame->setObjectName(QStringLiteral("scrollFrame"));
    scrollFrame->setMinimumSize(QSize(35, 0));
    scrollFrame->setMaximumSize(QSize(35, QWIDGETSIZE_MAX));
    scrollFrame->setStyleSheet(QString());
    no_frame(scrollFrame);
    verticalLayout = new QVBoxLayout(scrollFrame);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setContentsMargins(0, 5, 0, 5);
    verticalLayout->setSpacing(5);

    up_btn = scroll_button(scrollFrame, "up_btn", ui_sheets::up_btn);
    verticalLayout->addWidget(up_btn);

    scroll_slider = new CustomSlider(scrollFrame);
    scroll_slider->setObjectName(QStringLiteral("scroll_slider"));
    scroll_slider->setMinimumSize(QSize(25, 0));
    scroll_slider->setMaximumSize(QSize(25, QWIDGETSIZE_MAX));
    scroll_slider->setStyleSheet(QString::fromLatin1(ui_sheets::scroll_slider));
    scroll_slider->setOrientation(Qt::Vertical);
    scroll_slider->setInvertedAppearance(true);
    verticalLayout->addWidget(scroll_slider);

    down_btn = scroll_button(scrollFrame, "down_btn", ui_sheets::down_btn);
    verticalLayout->addWidget(down_btn);

    gridLayout_5->addWidget(scrollFrame, 0, 1);
    gridLayout_2->addWidget(scrollArea_frame, 0, 0, 6, 1);
    gridLayout_2->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 4, 1, 1, 1);
    gridLayout_2->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 4, 3, 1, 1);
}

void Ui_MainWindow::setup_actions()
{
    volume = new QSlider(Widget);
    volume->setObjectName(QStringLiteral("volume"));
    volume->setCursor(QCursor(Qt::PointingHandCursor));
    volume->setFocusPolicy(Qt::NoFocus);
    volume->setStyleSheet(QString::fromLatin1(ui_sheets::volume));
    volume->setMaximum(100);
    volume->setProperty("value", QVariant(100));
    volume->setOrientation(Qt::Horizontal);
    volume->setInvertedAppearance(false);
    gridLayout_2->addWidget(volume, 3, 2, 1, 1);
    gridLayout_2->addItem(new QSpacerItem(367, 427, QSizePolicy::Expanding, QSizePolicy::Minimum), 2, 1, 1, 3);

    clear_cache_and_trash = text_button(Widget, "clear_cache_and_trash", fontfile, 280, ui_sheets::clear_cache);
    gridLayout_2->addWidget(clear_cache_and_trash, 4, 2, 1, 1);
    run_wow = text_button(Widget, "run_wow", fontfile, 280, ui_sheets::run_wow);
    gridLayout_2->addWidget(run_wow, 5, 2, 1, 1);
}

void Ui_MainWindow::setup_menu()
{
    menu_frame = new QFrame(Widget);
    menu_frame->setObjectName(QStringLiteral("menu_frame"));
    menu_frame->setStyleSheet(QString::fromLatin1(ui_sheets::menu_frame));
    no_frame(menu_frame);
    menu_frame->setLineWidth(0);
    horizontalLayout = new QHBoxLayout(menu_frame);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setContentsMargins(0, 0, 0, 0);
    horizontalLayout->setSpacing(5);
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    dscrd = new QToolButton(menu_frame);
    dscrd->setObjectName(QStringLiteral("discord"));
    dscrd->setMinimumSize(QSize(35, 40));
    dscrd->setMaximumSize(QSize(35, 40));
    dscrd->setCursor(QCursor(Qt::PointingHandCursor));
    dscrd->setFocusPolicy(Qt::NoFocus);
    dscrd->setStyleSheet(QString());
    dscrd->setText(QString());
    QIcon icon;
    // By file, so that the @2x picture is taken on a scaled desktop.
    icon.addFile(QStringLiteral(":/main_window/discord_logo.png"), QSize(), QIcon::Normal, QIcon::Off);
    dscrd->setIcon(icon);
    horizontalLayout->addWidget(dscrd);

    exit = text_button(menu_frame, "exit", fontfile, 100, ui_sheets::exit_btn);
    horizontalLayout->addWidget(exit);
    gridLayout_2->addWidget(menu_frame, 1, 1, 1, 3);
}

void Ui_MainWindow::setup_notice()
{
    // Over the sky of the right half, in the column of the action buttons:
    // outside the layout, so that the window is the same with or without it.
    notice = new Notice(Widget);
    notice->setStyleSheet(ui_sheets::notice(fontweight, fontfile));
    notice->place_between(menu_frame, volume);
}

void Ui_MainWindow::retranslateUi(QMainWindow *MainWindow)
{
    MainWindow->setWindowTitle(QCoreApplication::translate("MainWindow", "MainWindow"));
    clear_cache_and_trash->setText(QCoreApplication::translate("MainWindow", "CLEAR CACHE AND TRASH"));
    exit->setText(QCoreApplication::translate("MainWindow", "EXIT"));
    run_wow->setText(QCoreApplication::translate("MainWindow", "RUN WOW"));
}
