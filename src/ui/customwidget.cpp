#include "ui/customwidget.h"

CustomScroll::CustomScroll(QWidget *parent) : QScrollBar(parent) {}

void CustomScroll::contextMenuEvent(QContextMenuEvent *) {}

CustomSlider::CustomSlider(QWidget *parent) : QSlider(parent), parent_(parent) { setInvertedControls(true); }

void CustomSlider::sliderChange(SliderChange change)
{
    QSlider::sliderChange(change);
    parent_->update();
}

void CustomSlider::resizeEvent(QResizeEvent *event)
{
    QSlider::resizeEvent(event);
    parent_->update();
}
