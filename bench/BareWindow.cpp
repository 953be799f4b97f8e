// Start-up baselines: the least a Qt Widgets program does to put a window of Form1's size on
// the screen (bare_window), and the same with one line of text in the default font, sized to fit
// (text_window), for which the toolkit reads the font configuration before the window is shown.
// What Quorvane takes beyond these is the cost of its own window.
#include <QApplication>
#include <QWidget>
#ifdef WITH_TEXT
#include <QLabel>
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Calculate BMI"));
    window.setFixedSize(312, 289);
#ifdef WITH_TEXT
    // Sized to its text, as a layout would size it, so the font is looked up before the map.
    auto *label = new QLabel(QStringLiteral("Calculate BMI"), &window);
    label->move(16, 32);
    label->adjustSize();
#endif
    window.show();
    return QApplication::exec();
}
