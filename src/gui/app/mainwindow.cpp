#include "gui/app/mainwindow.h"

#include "core/config/fatal.h"
#include "core/session/session.h"
#include "gui/app/notice.h"
#include "gui/media/mediaplayer.h"
#include "gui/patches/items.h"
#include "gui/ui/customwidget.h"
#include "gui/ui/look.h"
#include "log/log.h"
#include "system/system.h"

#include <QCloseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using tess::log;

MainWindow::MainWindow(const QStringList &arguments)
    : QMainWindow(nullptr), session_(std::make_unique<tess::Session>(arguments)),
      background_(QStringLiteral(TESSARINE_BACKGROUND), background_size() * devicePixelRatioF())
{
    session_->read_settings();
    setupUi(this, session_->locale());
    setup_ui_shadow();
    localization();
    setWindowTitle(QStringLiteral("Tessarine"));
    log().info(QStringLiteral("Основное GUI загружено"));
    gui_config();
    add_dynamic_items();
    log().info(QStringLiteral("Динамические элементы загружены"));
    add_static_items();
    log().info(QStringLiteral("Статические элементы загружены"));
    connect(session_.get(), &tess::Session::rowsChanged, this, &MainWindow::show_rows);
    connect(session_.get(), &tess::Session::archiveProblems, this, &MainWindow::show_archive_problems);
    connect(session_.get(), &tess::Session::rowFailed, this, &MainWindow::show_row_failure);
    connect(session_.get(), &tess::Session::noticed, this, &MainWindow::show_notice);
    if (const std::optional<tess::Notice> outside = session_->game_folder_notice()) {
        show_notice(*outside);
        lock_rows();
    }
    closeRouted_ = true;
}

MainWindow::~MainWindow() = default;

void MainWindow::gui_config()
{
    scrollArea->setVerticalScrollBar(new CustomScroll(this));
    connect(exit, &QToolButton::clicked, this, &QWidget::close);
    connect(dscrd, &QToolButton::clicked, this, &MainWindow::open_dscrd_link);
    installEventFilter(this);
    // Wired first: a stored volume the slider cannot show is written back as the one it shows.
    connect(volume, &QSlider::valueChanged, session_.get(), &tess::Session::set_volume);
    volume->setValue(session_->volume());
    verticalLayout->setAlignment(Qt::AlignCenter);
    QScrollBar *bar = scrollArea->verticalScrollBar();
    connect(scroll_slider, &QSlider::valueChanged, bar, &QScrollBar::setValue);
    connect(bar, &QScrollBar::valueChanged, scroll_slider, &QSlider::setValue);
    tess::look::add_drop_shadow(scrollFrame, 10, QPointF(0, 0), QColor(0, 0, 0, 250));
    connect(clear_cache_and_trash, &QToolButton::clicked, this, &MainWindow::clear_trash);
    connect(run_wow, &QToolButton::clicked, this, &MainWindow::run_wow_app);
}

void MainWindow::show_notice(const tess::Notice &shown)
{
    if (shown.lasting())
        notice->show_lasting(shown.text);
    else
        notice->show_passing(shown.text);
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
            music_ = new tess::MusicPlayer(volume->value(), this);
            connect(session_.get(), &tess::Session::volumeChanged, music_, &tess::MusicPlayer::set_volume);
            // The start is over.
            tess::platform::release_free_memory();
        });
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (closeRouted_)
        session_->save_settings();
    else
        QMainWindow::closeEvent(event);
}
