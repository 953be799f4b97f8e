#pragma once

// Form1 is the program's one window, in its Qt front end (the Win32 front end is
// ui/win32/Form1.h): the controls of ui/Form1Design.h, made by walking it, and the four bound
// events of ui/Form1Events.h, which run the core. The core never sees Qt: it reaches the five text
// boxes through LineEditTextBox and the message box through WidgetMsgBox, both runtime
// interfaces. A write by the core raises the box's textChanged before it returns, so the length
// rule runs nested inside the calculation exactly as it does for typing. An accepted calculation
// is announced to screen readers, since its results land in boxes that do not have the focus.

#include "Form1Events.h"
#include "LineEditTextBox.h"
#include "WidgetMsgBox.h"
#include "accessibility/Announcer.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class BuildScope;
    Form1(QWidget *parent, const BuildScope &);

    void Command1_Click();

    // The controls the events reach; the others are found by name.
    QLineEdit *weight = nullptr;
    QLineEdit *heightf = nullptr;
    QLineEdit *ft = nullptr;
    QLineEdit *bdmass = nullptr;
    QLineEdit *nutrition = nullptr;
    QPushButton *Command1 = nullptr;
    Announcer *announcer = nullptr;

    LineEditTextBox weightBox;
    LineEditTextBox heightfBox;
    LineEditTextBox ftBox;
    LineEditTextBox bdmassBox;
    LineEditTextBox nutritionBox;
    WidgetMsgBox msgBox;
    Form1Events events;
    bool tabbing = false;
};
