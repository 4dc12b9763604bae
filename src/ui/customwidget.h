#pragma once

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
// picture, so every repaint asks the container to repaint as well.
class CustomSlider : public QSlider
{
    Q_OBJECT

public:
    explicit CustomSlider(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *parent_;
};
