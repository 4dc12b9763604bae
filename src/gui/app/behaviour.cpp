#include "gui/app/mainwindow.h"

#include "core/session/session.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QSlider>
#include <QToolButton>

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton) {
        dragpos_ = event->globalPos();
        event->accept();
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // These handle the mouse themselves: a drag over them is not a window move.
    if (scrollArea_frame->underMouse() || clear_cache_and_trash->underMouse() || exit->underMouse()
        || volume->underMouse())
        return;
    if (event->buttons() == Qt::LeftButton) {
        move(pos() + event->globalPos() - dragpos_);
        dragpos_ = event->globalPos();
        event->accept();
    }
}

bool MainWindow::eventFilter(QObject *source, QEvent *event)
{
    const bool combo = qobject_cast<QComboBox *>(source) != nullptr;
    if (combo && event->type() == QEvent::Wheel) {
        // Accepted too: a wheel from the window system that is left
        // unaccepted goes on to each parent, and the list behind would scroll.
        event->accept();
        return true;
    }
    if (combo && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        && session_->refuse_click())
        return true;
    return QMainWindow::eventFilter(source, event);
}
