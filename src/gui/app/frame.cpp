#include "log/log.h"
#include "gui/app/mainwindow.h"
#include "gui/ui/customwidget.h"
#include "gui/ui/look.h"

#include <QFrame>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

using tess::log;

void MainWindow::setup_ui_shadow()
{
    setWindowFlag(Qt::FramelessWindowHint, true);
    setAttribute(Qt::WA_TranslucentBackground, true);
    tess::look::add_drop_shadow(Widget, 15, QPointF(5, 5), QColor(0, 0, 25, 150));
}

void MainWindow::postshow_scroll_config(int value)
{
    QScrollBar *bar = scrollArea->verticalScrollBar();
    pagestep_ = bar->singleStep() * 3;
    connect(up_btn, &QToolButton::clicked, this, [this, bar] { bar->setValue(bar->value() - pagestep_); });
    connect(down_btn, &QToolButton::clicked, this, [this, bar] { bar->setValue(bar->value() + pagestep_); });
    scroll_slider->setMaximum(value);
    log().debug(QStringLiteral("Длина полосы прокрутки: ") + QString::number(value) + QStringLiteral(", шаг: ")
                + QString::number(pagestep_));
    if (value == 0) {
        log().debug(QStringLiteral("Полоса прокрутки скрыта"));
        scrollFrame->hide();
    }
}
