#include "Form1.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace {

// The title bar and the task bar want small images; desktops that want a large one find it in
// the icon theme through the desktop entry. Reading the carried PNGs directly, format named,
// spares a theme lookup that parses the theme's whole index, and the image plugins' probing.
QIcon windowIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QImageReader reader(QStringLiteral(":/icons/%1x%1/org.quorvane.Quorvane.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setDesktopFileName(QStringLiteral("org.quorvane.Quorvane"));
    QApplication::setWindowIcon(windowIcon());
    Form1 window;
    window.show();
    return QApplication::exec();
}
