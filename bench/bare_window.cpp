// The baseline for the start-up benchmark: a bare Qt Widgets window of the
// launcher's size, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(830, 570);
    window.show();
    return QApplication::exec();
}
