// Interaction baselines: the least a Qt Widgets program does between a click and what the user
// sees, in a window of Form1's size with a button and a text box where Form1 has Command1 and
// bdmass. `click_window index` writes a new number into the box on each click; `click_window box`
// opens a plain QMessageBox::critical with the same caption and text as Quorvane's.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool box = argc > 1 && qstrcmp(argv[1], "box") == 0;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Calculate BMI"));
    window.setFixedSize(312, 289);
    auto *button = new QPushButton(QStringLiteral("Calculate BMI"), &window);
    button->setGeometry(112, 96, 113, 25);
    auto *index = new QLineEdit(&window);
    index->setGeometry(112, 144, 73, 19);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, &window, [&] {
        if (box)
            QMessageBox::critical(
                &window, QStringLiteral("Quorvane"), QStringLiteral("Invalid data.  Please check and re-enter!"));
        else
            index->setText(QString::number(++clicks));
    });
    window.show();
    return QApplication::exec();
}
