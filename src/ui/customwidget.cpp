#include "ui/customwidget.h"

CustomScroll::CustomScroll(QWidget *parent) : QScrollBar(parent) {}

void CustomScroll::contextMenuEvent(QContextMenuEvent *) {}

CustomSlider::CustomSlider(QWidget *parent) : QSlider(parent), parent_(parent)
{
    setInvertedControls(true);
}

void CustomSlider::paintEvent(QPaintEvent *event)
{
    QSlider::paintEvent(event);
    parent_->update();
}
