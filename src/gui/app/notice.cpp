#include "gui/app/notice.h"

#include "gui/ui/ui.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTextLayout>
#include <QtMath>
#include <qdrawutil.h>

namespace {

// Between the notice and the widgets around it, as between the buttons.
constexpr int kGap = 10;
// The panel's rim and the room inside it.
const QMargins kPadding(16, 11, 16, 11);
// The corners of the panel's picture, kept whole however large the notice:
// its radius and rim.
constexpr int kPanelCorner = 16;

QTextOption text_option()
{
    QTextOption option(Qt::AlignHCenter);
    // A long path has no spaces to break at: it breaks where it must.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

}  // namespace

QSize Notice::text_size(int width) const
{
    QTextLayout layout(text(), font());
    layout.setTextOption(text_option());
    layout.beginLayout();
    qreal height = 0;
    qreal widest = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
        widest = qMax(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return QSize(qCeil(widest), qCeil(height));
}

namespace {

// Screen readers take the notice for a text, not for an empty pane.
QAccessibleInterface *notice_accessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("Notice") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::StaticText);
    return nullptr;
}

}  // namespace

Notice::Notice(QWidget *parent) : QWidget(parent), timer_(this)
{
    static const bool accessible = (QAccessible::installFactory(notice_accessible), true);
    Q_UNUSED(accessible)
    setObjectName(QStringLiteral("notice"));
    setFocusPolicy(Qt::NoFocus);
    // A press on it is a press on the window behind: it moves the window and
    // ends a passing notice like any other.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setContentsMargins(kPadding);
    timer_.setSingleShot(true);
    timer_.setInterval(kPassingMs);
    connect(&timer_, &QTimer::timeout, this, &Notice::dismiss);
    hide();
}

Notice::~Notice() { qApp->removeEventFilter(this); }

void Notice::show_passing(const QString &text)
{
    if (text.isEmpty()) {
        dismiss();
        return;
    }
    passing_ = text;
    timer_.start();
    // Every press of the program passes here, but only while a passing
    // notice shows.
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
    refresh();
}

void Notice::show_lasting(const QString &text)
{
    lasting_ = text;
    refresh();
}

void Notice::clear_lasting()
{
    lasting_.clear();
    refresh();
}

void Notice::dismiss()
{
    timer_.stop();
    qApp->removeEventFilter(this);
    passing_.clear();
    refresh();
}

QString Notice::text() const { return passing_.isEmpty() ? lasting_ : passing_; }

void Notice::place_between(QWidget *above, QWidget *below)
{
    for (QWidget *anchor : {above_.data(), below_.data()})
        if (anchor)
            anchor->removeEventFilter(this);
    above_ = above;
    below_ = below;
    for (QWidget *anchor : {above, below})
        anchor->installEventFilter(this);
    place();
}

int Notice::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    return text_size(width - m.left() - m.right()).height() + m.top() + m.bottom();
}

void Notice::refresh()
{
    const QString shown = text();
    const bool changed = shown != accessibleName();
    // Qt tells screen readers of the new name itself.
    setAccessibleName(shown);
    if (shown.isEmpty()) {
        hide();
        return;
    }
    place();
    show();
    raise();
    update();
    if (changed) {
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void Notice::place()
{
    if (!below_ || text().isEmpty())
        return;
    // The style sheet gives the font, which decides the height.
    ensurePolished();
    const QRect below = below_->geometry();
    const int bottom = below.top() - kGap;
    const int top = above_ ? above_->geometry().bottom() + 1 + kGap : 0;
    const int height = qMin(heightForWidth(below.width()), qMax(0, bottom - top));
    setGeometry(below.left(), bottom - height, below.width(), height);
}

void Notice::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The @2x picture on a scaled desktop. Its corners are cut in its own
    // pixels, which a style sheet's border-image would take for the window's.
    qreal pictureRatio = 1.0;
    QPixmap panel(qt_findAtNxFile(QStringLiteral(TESSARINE_PANEL), devicePixelRatioF(), &pictureRatio));
    panel.setDevicePixelRatio(pictureRatio);
    const int cut = qRound(kPanelCorner * pictureRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    qDrawBorderPixmap(&painter, rect(), QMargins(kPanelCorner, kPanelCorner, kPanelCorner, kPanelCorner), panel,
                      panel.rect(), QMargins(cut, cut, cut, cut), QTileRules());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(QRectF(contentsRect()), text(), text_option());
}

bool Notice::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
        if (!passing_.isEmpty())
            dismiss();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (watched == above_ || watched == below_)
            place();
        break;
    default: break;
    }
    return false;
}

void Notice::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        place();
}
