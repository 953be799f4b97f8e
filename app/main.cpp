#include "AppInfo.h"
#include "Form1.h"
#include "StartupGuard.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace {

// The program carries its window icon at the sizes title and task bars draw, one folder each;
// desktops that want a larger image take it from the icon theme through the desktop entry.
// Reading the PNGs directly, format named, spares a theme lookup that parses the theme's whole
// index, and the image plugins' probing.
QIcon windowIcon()
{
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (sizes.hasNext()) {
        QImageReader reader(sizes.next() + QStringLiteral("/" QUORVANE_APP_ID ".png"), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    StartupGuard guard;
    QApplication app(argc, argv);
    guard.release();
    QApplication::setApplicationName(QStringLiteral(QUORVANE_TITLE));
    QApplication::setDesktopFileName(QStringLiteral(QUORVANE_APP_ID));
    QApplication::setWindowIcon(windowIcon());
    Form1 window;
    window.show();
    return QApplication::exec();
}
