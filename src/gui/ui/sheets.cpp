#include "gui/ui/ui.h"

#include "gui/ui/look.h"

namespace ui_sheets {

QString main_widget(const QString &fontweight, const QString &fontfile)
{
    return QStringLiteral("font: ") + fontweight + QStringLiteral(" 11pt \"") + fontfile
        + QStringLiteral("\";\nborder-radius: 10px");
}

const char widget[] = "QWidget#Widget{\n"
                      "    border-image: url(" TESSARINE_BACKGROUND ") 0 0 0 0 stretch stretch;\n"
                      "}\n"
                      "QToolButton:hover{\n"
                      "    border-image: url(:/buttons/but_hover.png);\n"
                      "}\n"
                      "QToolButton:pressed{\n"
                      "    border-image: url(:/buttons/but_press.png);\n"
                      "}\n"
                      "QToolButton{\n"
                      "    border-image: url(:/buttons/but_norm.png);\n"
                      "}\n"
                      "QToolButton:disabled{\n"
                      "    border-image: url(:/buttons/but_disabled.png);\n"
                      "}";

const char scroll_area_frame[] = "#scrollArea_widget{\n"
                                 "    background-color: rgba(255, 255, 255, 0);\n"
                                 "}\n"
                                 "#scrollArea{\n"
                                 "    background-color: rgba(255, 255, 255, 0);\n"
                                 "}\n"
                                 "QFrame#scrollArea_frame{\n"
                                 "    border-image: url(" TESSARINE_PANEL ");\n"
                                 "}\n"
                                 "QScrollBar:vertical {\n"
                                 "    background-color: transparent;\n"
                                 "    width: 25px;\n"
                                 "    margin: 30px 0px 30px 0px;\n"
                                 "}\n"
                                 "QScrollBar::handle:vertical {\n"
                                 "    border-image: url(:/scrollbar/scroll_handler.png);\n"
                                 "}\n"
                                 "QScrollBar::sub-line:vertical {\n"
                                 "    margin: 3px 0px 3px 0px;\n"
                                 "    border-image: url(:/scrollbar/scroll_arrow_up_normal.png);\n"
                                 "    height: 25px;\n"
                                 "    width: 25px;\n"
                                 "    subcontrol-position: top;\n"
                                 "    subcontrol-origin: margin;\n"
                                 "}\n"
                                 "QScrollBar::add-line:vertical {\n"
                                 "    margin: 3px 0px 0px 0px;\n"
                                 "    border-image: url(:/scrollbar/scroll_arrow_down_normal.png);\n"
                                 "    height: 25px;\n"
                                 "    width: 25px;\n"
                                 "    subcontrol-position: bottom;\n"
                                 "    subcontrol-origin: margin;\n"
                                 "}\n"
                                 "QScrollBar::sub-line:vertical:hover,QScrollBar::sub-line:vertical:on {\n"
                                 "    border-image: url(:/scrollbar/scroll_arrow_up_hover.png);\n"
                                 "    height: 25px;\n"
                                 "    width: 25px;\n"
                                 "    subcontrol-position: top;\n"
                                 "    subcontrol-origin: margin;\n"
                                 "}\n"
                                 "QScrollBar::add-line:vertical:hover, QScrollBar::add-line:vertical:on {\n"
                                 "    border-image: url(:/scrollbar/scroll_arrow_down_hover.png);\n"
                                 "    height: 25px;\n"
                                 "    width: 25px;\n"
                                 "    subcontrol-position: bottom;\n"
                                 "    subcontrol-origin: margin;\n"
                                 "}\n"
                                 "QScrollBar::up-arrow:vertical, QScrollBar::down-arrow:vertical {\n"
                                 "    background: none;\n"
                                 "}\n"
                                 "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical {\n"
                                 "    background: none;\n"
                                 "}";

const char up_btn[] = "QToolButton#up_btn:hover{\n"
                      "    border-image: url(:/scrollbar/scroll_arrow_up_hover.png);\n"
                      "}\n"
                      "QToolButton#up_btn:pressed{\n"
                      "    border-image: url(:/scrollbar/scroll_arrow_up_pressed.png);\n"
                      "}\n"
                      "QToolButton#up_btn{\n"
                      "    border-image: url(:/scrollbar/scroll_arrow_up_normal.png);\n"
                      "}";

const char scroll_slider[] = "QSlider{\n"
                             "    background: transparent;\n"
                             "}\n"
                             "QSlider::groove:vertical {\n"
                             "    background: transparent;\n"
                             "}\n"
                             "QSlider::handle:vertical {\n"
                             "    border-image: url(:/scrollbar/scroll_handler_mini.png);\n"
                             "    width: 25px;\n"
                             "    height: 28px;\n"
                             "}";

const char down_btn[] = "QToolButton#down_btn:hover{\n"
                        "    border-image: url(:/scrollbar/scroll_arrow_down_hover.png);\n"
                        "}\n"
                        "QToolButton#down_btn:pressed{\n"
                        "    border-image: url(:/scrollbar/scroll_arrow_down_pressed.png);\n"
                        "}\n"
                        "QToolButton#down_btn{\n"
                        "    border-image: url(:/scrollbar/scroll_arrow_down_normal.png);\n"
                        "}";

const char volume[] =
    "QSlider::groove:horizontal {\n"
    "    background-color: rgba(0, 0, 0, 200);\n"
    "    border: 2px solid qlineargradient(spread:pad, x1:1, y1:1, x2:1, y2:0, stop:0.3125 rgba(50, 50, 50, 255), "
    "stop:0.715909 rgba(92, 92, 92, 255));\n"
    "    height: 6px;\n"
    "    border-radius: 4px;\n"
    "}\n"
    "QSlider::handle:horizontal {\n"
    "    border-image: url(:/main_window/handle.png);\n"
    "    width: 12px;\n"
    "    margin-top: -10px;\n"
    "    margin-bottom: -10px;\n"
    "}";

#define TESSARINE_TEXT_BUTTON_SHEET(NAME, COLOR)                                                                       \
    "QToolButton#" NAME "{\n"                                                                                          \
    "    color: " COLOR ";\n"                                                                                          \
    "}\n"                                                                                                              \
    "QToolButton#" NAME ":hover{\n"                                                                                    \
    "    color: rgb(255, 245, 225);\n"                                                                                 \
    "}\n"                                                                                                              \
    "QToolButton#" NAME ":disabled{\n"                                                                                 \
    "    color: #b2b2b2;\n"                                                                                            \
    "}"

const char clear_cache[] = TESSARINE_TEXT_BUTTON_SHEET("clear_cache_and_trash", TESSARINE_GOLD);
const char run_wow[] = TESSARINE_TEXT_BUTTON_SHEET("run_wow", TESSARINE_GOLD);
const char exit_btn[] = TESSARINE_TEXT_BUTTON_SHEET("exit", TESSARINE_GOLD);

#undef TESSARINE_TEXT_BUTTON_SHEET

const char menu_frame[] = "QToolButton:hover{\n"
                          "    border-image: url(:/buttons/but_small_hover.png);\n"
                          "}\n"
                          "QToolButton:pressed{\n"
                          "    border-image: url(:/buttons/but_small_press.png);\n"
                          "}\n"
                          "QToolButton{\n"
                          "    border-image: url(:/buttons/but_small_norm.png);\n"
                          "}\n"
                          "QToolButton:disabled{\n"
                          "    border-image: url(:/buttons/but_small_disabled.png);\n"
                          "}";

QString notice(const QString &fontweight, const QString &fontfile)
{
    // Its panel is drawn by the notice itself.
    return QStringLiteral("Notice#notice{\n"
                          "    color: " TESSARINE_GOLD ";\n"
                          "    font: ")
        + fontweight + QStringLiteral(" 10pt \"") + fontfile + QStringLiteral("\";\n}");
}

}  // namespace ui_sheets
