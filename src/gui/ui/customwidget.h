#pragma once

#include <QComboBox>
#include <QScrollBar>
#include <QSlider>

// The hidden bar that holds the list's range and position; it never opens
// a context menu of its own.
class CustomScroll : public QScrollBar
{
    Q_OBJECT

public:
    explicit CustomScroll(QWidget *parent = nullptr);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
};

// The skinned scroll slider. Its handle is drawn over the container's
// picture, so whenever the handle can move (value, range or size) the
// container is repainted as well. Not on every paint: the container's
// repaint paints the slider again, which would ask again, for ever.
class CustomSlider : public QSlider
{
    Q_OBJECT

public:
    explicit CustomSlider(QWidget *parent);

protected:
    void sliderChange(SliderChange change) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *parent_;
};

// An option row's combo box. Its list opens frameless, without a shadow and
// with a see-through background, set up when first opened: setting the
// list's window flags re-parents it, work that start-up need not do.
class RowComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit RowComboBox(QWidget *parent);

    void showPopup() override;

private:
    bool popupReady_ = false;
};
