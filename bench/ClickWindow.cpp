// Interaction baselines: the least a Qt Widgets program does between a click and what the user
// sees, in a window of Form1's size with a button and a text box where Form1 has Command1 and
// bdmass. `click_window index` writes a new number into the box on each click; `click_window box`
// opens a plain QMessageBox::critical with the same caption and text as Quorvane's.
#include "AppInfo.h"
#include "CalculateBmi.h"
#include "Form1Design.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {

QString fromDesign(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QRect place(std::string_view name)
{
    const design::Rect &r = design::control(name).twips;
    constexpr int px = design::twipsPerPixel;
    return {r.left / px, r.top / px, r.width / px, r.height / px};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool box = argc > 1 && qstrcmp(argv[1], "box") == 0;
    QWidget window;
    window.setWindowTitle(fromDesign(design::title));
    window.setFixedSize(design::client.width / design::twipsPerPixel, design::client.height / design::twipsPerPixel);
    auto *button = new QPushButton(fromDesign(design::control("Command1").text), &window);
    button->setGeometry(place("Command1"));
    auto *index = new QLineEdit(&window);
    index->setGeometry(place("bdmass"));
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, &window, [&] {
        if (box)
            QMessageBox::critical(&window, QStringLiteral(QUORVANE_TITLE), fromDesign(core::invalidDataMessage));
        else
            index->setText(QString::number(++clicks));
    });
    window.show();
    return QApplication::exec();
}
