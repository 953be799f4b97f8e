// Renders the window, empty and after a calculation, into the folder given on the command line.
#include "Form1.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;

    Form1 window;
    window.show();
    if (!window.grab().save(folder.filePath(QStringLiteral("window-empty.png"))))
        return 1;

    window.findChild<QLineEdit *>(QStringLiteral("weight"))->setText(QStringLiteral("150"));
    window.findChild<QLineEdit *>(QStringLiteral("heightf"))->setText(QStringLiteral("5"));
    window.findChild<QLineEdit *>(QStringLiteral("ft"))->setText(QStringLiteral("10"));
    window.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    return window.grab().save(folder.filePath(QStringLiteral("window-result.png"))) ? 0 : 1;
}
