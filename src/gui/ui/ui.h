#pragma once

#include <QString>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QMainWindow;
class QScrollArea;
class QSlider;
class QToolButton;
class QVBoxLayout;
class QWidget;
class CustomSlider;
class Notice;
class QSize;

// The window's background picture, as its style sheet names it; a macro so
// that it joins the sheet's literal.
#define TESSARINE_BACKGROUND ":/main_window/background.jpg"
// The dark panel with a metal rim behind the option list, and behind the notice.
#define TESSARINE_PANEL ":/main_window/bg.png"

// The fixed widget tree of the main window: every widget becomes a member
// under its object name (the link button's object name is "discord").
class Ui_MainWindow
{
public:
    QString fontfile;
    QString fontweight;

    QWidget *MainWidget = nullptr;
    QGridLayout *gridLayout = nullptr;
    QWidget *Widget = nullptr;
    QGridLayout *gridLayout_2 = nullptr;
    QFrame *scrollArea_frame = nullptr;
    QGridLayout *gridLayout_5 = nullptr;
    QScrollArea *scrollArea = nullptr;
    QWidget *scrollArea_widget = nullptr;
    QGridLayout *gridLayout_3 = nullptr;
    QFrame *scrollFrame = nullptr;
    QVBoxLayout *verticalLayout = nullptr;
    QToolButton *up_btn = nullptr;
    CustomSlider *scroll_slider = nullptr;
    QToolButton *down_btn = nullptr;
    QSlider *volume = nullptr;
    QToolButton *clear_cache_and_trash = nullptr;
    QToolButton *run_wow = nullptr;
    QFrame *menu_frame = nullptr;
    QHBoxLayout *horizontalLayout = nullptr;
    QToolButton *dscrd = nullptr;
    QToolButton *exit = nullptr;
    // Says why a click did not do what was asked; hidden while there is nothing to say.
    Notice *notice = nullptr;

    // `locale` is the main window's language code; it picks the interface font.
    void setupUi(QMainWindow *MainWindow, const QString &locale);
    // The size at which the background is drawn, in device-independent pixels.
    static QSize background_size();
    // The window's fixed size, in device-independent pixels.
    static QSize window_size();
    void retranslateUi(QMainWindow *MainWindow);

    virtual ~Ui_MainWindow() = default;

private:
    // The parts setupUi() builds, in this order.
    void choose_font(const QString &locale);
    void setup_window(QMainWindow *MainWindow);
    void setup_frame(QMainWindow *MainWindow);
    void setup_list();
    void setup_scroll_column();
    void setup_actions();
    void setup_menu();
    void setup_notice();
};

// The style sheets of the tree, kept apart so tests can compare them.
namespace ui_sheets {
QString main_widget(const QString &fontweight, const QString &fontfile);  // sheet A
extern const char widget[];                                               // B
extern const char scroll_area_frame[];                                    // C
extern const char up_btn[];                                               // D
extern const char scroll_slider[];                                        // E
extern const char down_btn[];                                             // F
extern const char volume[];                                               // G
extern const char clear_cache[];                                          // J
extern const char run_wow[];                                              // K
extern const char menu_frame[];                                           // L
extern const char exit_btn[];                                             // M
QString notice(const QString &fontweight, const QString &fontfile);
}  // namespace ui_sheets
