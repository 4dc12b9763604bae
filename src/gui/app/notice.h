#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

// The one place in the window where a short notice says why a click did not
// do what was asked: text on a panel of the skin, above the action buttons.
// It never takes the focus or a click, and screen readers read its text as
// its name. Hidden while there is nothing to say; its one timer runs only
// while a passing notice shows.
class Notice : public QWidget
{
    Q_OBJECT

public:
    // How long a passing notice shows, unless a click ends it sooner.
    static constexpr int kPassingMs = 6000;

    explicit Notice(QWidget *parent);
    ~Notice() override;

    Notice(const Notice &) = delete;
    Notice &operator=(const Notice &) = delete;

    // Shows `text` until kPassingMs have gone or the next mouse press in the
    // program, whichever comes first; then the lasting notice, if any, again.
    // An empty text ends the passing notice.
    void show_passing(const QString &text);
    // Shows `text` until clear_lasting(), for a state that holds; a passing
    // notice shown meanwhile covers it while it shows.
    void show_lasting(const QString &text);
    void clear_lasting();
    // Ends the passing notice at once.
    void dismiss();

    // What the notice shows now; empty while it is hidden.
    QString text() const;

    // Where it sits: across the width of `below` and just above it, never
    // reaching up to `above`; both are its siblings. It follows them when
    // the layout moves them.
    void place_between(QWidget *above, QWidget *below);

    // The room the text takes laid out in lines of `width`, as it is drawn:
    // the widest line and the height of all.
    QSize text_size(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void place();

    QString passing_;
    QString lasting_;
    QTimer timer_;
    QPointer<QWidget> above_;
    QPointer<QWidget> below_;
};
