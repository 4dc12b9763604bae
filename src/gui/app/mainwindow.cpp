#include "gui/app/mainwindow.h"

#include "log/log.h"
#include "system/system.h"
#include "gui/media/mediaplayer.h"
#include "gui/patches/items.h"
#include "core/patches/option_rows.h"
#include "gui/ui/customwidget.h"
#include "gui/ui/look.h"

#include <QCloseEvent>
#include <QFile>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using tess::log;

MainWindow::MainWindow(const QStringList &arguments)
    : QMainWindow(nullptr), background_(QStringLiteral(TESSARINE_BACKGROUND), background_size() * devicePixelRatioF())
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
    tess::change_volume(this);
    verticalLayout->setAlignment(Qt::AlignCenter);
    QScrollBar *bar = scrollArea->verticalScrollBar();
    connect(scroll_slider, &QSlider::valueChanged, bar, &QScrollBar::setValue);
    connect(bar, &QScrollBar::valueChanged, scroll_slider, &QSlider::setValue);
    tess::look::add_drop_shadow(scrollFrame, 10, QPointF(0, 0), QColor(0, 0, 0, 250));
    connect(clear_cache_and_trash, &QToolButton::clicked, this, &MainWindow::clear_trash);
    connect(run_wow, &QToolButton::clicked, this, &MainWindow::run_wow_app);
}

void MainWindow::close_window(QCloseEvent *)
{
    // A save that fails or is not made goes unsaid.
    if (!mediaplayer_config.save(config_dir + QStringLiteral("/mediaplayer.ini")).written)
        return;
    log().info(QStringLiteral("Конфигурация медиаплеера сохранена"));
}

void MainWindow::setVisible(bool visible)
{
    // Showing polishes the widgets, which loads the pictures their style
    // sheets name: the background must be in place by then.
    if (visible)
        background_.install();
    QMainWindow::setVisible(visible);
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    // The music starts once the window is on screen: making the player costs
    // more than anything else at start-up, and nobody hears the difference.
    if (!musicStarted_) {
        musicStarted_ = true;
        QTimer::singleShot(0, this, [this] {
            tess::play_music(this);
            // The start is over.
            tess::platform::release_free_memory();
        });
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (closeRouted_)
        close_window(event);
    else
        QMainWindow::closeEvent(event);
}
