#include "gui/ui/customwidget.h"

#include <QAbstractItemView>

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

RowComboBox::RowComboBox(QWidget *parent) : QComboBox(parent) {}

void RowComboBox::showPopup()
{
    if (!popupReady_) {
        popupReady_ = true;
        QWidget *popup = view()->window();
        popup->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
        popup->setAttribute(Qt::WA_TranslucentBackground);
    }
    QComboBox::showPopup();
}
