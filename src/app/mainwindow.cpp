#include "app/mainwindow.h"

#include "app/log.h"
#include "media/mediaplayer.h"
#include "patches/items.h"
#include "ui/customwidget.h"

#include <QCloseEvent>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QLocale>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

using tess::log;

MainWindow::MainWindow(const QStringList &arguments) : QMainWindow(nullptr)
{
    locale = arguments.isEmpty() ? QLocale::system().name().toLower() : arguments.first();
    log().debug(QStringLiteral("Выбран языковой пакет: ") + locale);
    config_dir = QStringLiteral(".config");
    mediaplayer_config = mediaplayer_config_init();
    currentStatus = tess::get_status();
    patchFrames.clear();
    setupUi(this, locale);
    comboPosGenerator = combo_pos_generator();
    setup_ui_shadow();
    localization();
    setWindowTitle(QStringLiteral("Tessarine"));
    log().info(QStringLiteral("Основное GUI загружено"));
    gui_config();
    add_dynamic_items();
    log().info(QStringLiteral("Динамические элементы загружены"));
    add_static_items();
    log().info(QStringLiteral("Статические элементы загружены"));
    closeRouted_ = true;
}

MainWindow::~MainWindow() = default;

void MainWindow::gui_config()
{
    scrollArea->setVerticalScrollBar(new CustomScroll(this));
    connect(exit, &QToolButton::clicked, this, &QWidget::close);
    connect(dscrd, &QToolButton::clicked, this, &MainWindow::open_dscrd_link);
    installEventFilter(this);
    tess::play_music(this);
    verticalLayout->setAlignment(Qt::AlignCenter);
    QScrollBar *bar = scrollArea->verticalScrollBar();
    connect(scroll_slider, &QSlider::valueChanged, bar, &QScrollBar::setValue);
    connect(bar, &QScrollBar::valueChanged, scroll_slider, &QSlider::setValue);
    auto *shadow = new QGraphicsDropShadowEffect(scrollFrame);
    shadow->setBlurRadius(10);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(0, 0, 0, 250));
    scrollFrame->setGraphicsEffect(shadow);
    connect(clear_cache_and_trash, &QToolButton::clicked, this, &MainWindow::clear_trash);
    connect(run_wow, &QToolButton::clicked, this, &MainWindow::run_wow_app);
}

void MainWindow::close_window(QCloseEvent *)
{
    // Written atomically: a failed save leaves the previous file whole.
    QSaveFile file(config_dir + QStringLiteral("/mediaplayer.ini"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(mediaplayer_config.toText()) < 0 || !file.commit())
        return;
    log().info(QStringLiteral("Конфигурация медиаплеера сохранена"));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (closeRouted_)
        close_window(event);
    else
        QMainWindow::closeEvent(event);
}
