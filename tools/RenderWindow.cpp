// Renders into the folder given on the command line: the window, empty and after a calculation;
// the error box over it; and the window after the desktop's colours turned dark while it ran.
#include "Form1.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

namespace {

void enter(const Form1 &window, const QString &weight, const QString &feet, const QString &inches)
{
    window.findChild<QLineEdit *>(QStringLiteral("weight"))->setText(weight);
    window.findChild<QLineEdit *>(QStringLiteral("heightf"))->setText(feet);
    window.findChild<QLineEdit *>(QStringLiteral("ft"))->setText(inches);
}

// Grabs the first message box that opens, then dismisses it.
void grabNextBox(const QString &path, bool &saved)
{
    QTimer::singleShot(0, [path, &saved] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            grabNextBox(path, saved);
            return;
        }
        saved = box->grab().save(path);
        box->accept();
    });
}

} // namespace

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

    auto *command1 = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    enter(window, QStringLiteral("150"), QStringLiteral("5"), QStringLiteral("10"));
    command1->click();
    if (!window.grab().save(folder.filePath(QStringLiteral("window-result.png"))))
        return 1;

    bool boxSaved = false;
    grabNextBox(folder.filePath(QStringLiteral("error-box.png")), boxSaved);
    enter(window, QStringLiteral("500"), QStringLiteral("5"), QStringLiteral("10"));
    command1->click();
    if (!boxSaved)
        return 1;

    enter(window, QStringLiteral("150"), QStringLiteral("5"), QStringLiteral("10"));
    command1->click();
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    return window.grab().save(folder.filePath(QStringLiteral("window-dark.png"))) ? 0 : 1;
}
