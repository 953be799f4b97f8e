#include "Form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.quorvane.Quorvane"),
                                                 QIcon(QStringLiteral(":/icons/256x256/org.quorvane.Quorvane.png"))));
    Form1 window;
    window.show();
    return QApplication::exec();
}
