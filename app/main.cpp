#include "AppInfo.h"
#include "Form1.h"
#include "StartupGuard.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QResource>

#include <cstdlib>

namespace {

// The program carries its window icon at the sizes title and task bars draw, as raw RGBA pixels,
// one square image per file named after its side; desktops that want a larger image take it
// from the icon theme through the desktop entry. Raw pixels are shown without a decoder, an
// image plug-in or a theme lookup, each of which costs the start-up more than the icon is worth.
QIcon windowIcon()
{
    QIcon icon;
    QDirIterator files(QStringLiteral(":/window-icon"), QDir::Files);
    while (files.hasNext()) {
        const QResource pixels(files.next());
        const int size = files.fileInfo().baseName().toInt();
        if (size <= 0 || qint64{4} * size * size != pixels.size())
            continue;
        icon.addPixmap(QPixmap::fromImage(QImage(pixels.data(), size, size, QImage::Format_RGBA8888)));
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
    const int status = QApplication::exec();
    // Qt 6.4's Wayland plugin can wait for ever on its event thread as it disconnects. The window
    // is closed and nothing is left to save, so the process ends without taking Qt down.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        std::_Exit(status);
    return status;
}
