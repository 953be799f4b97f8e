#pragma once

// Form1 is the program's one window, in its Qt front end (the Win32 front end is
// ui/win32/Form1.h): twelve controls at fixed places, and four bound events. A click of Command1
// runs core::CalculateBmi, and every change of weight, heightf or ft runs core::LimitLength for
// that box. The core never sees Qt: it reaches the five text boxes through LineEditTextBox and
// the message box through WidgetMsgBox, both runtime interfaces. A write by the core raises the
// box's textChanged before it returns, so the length rule runs nested inside the calculation
// exactly as it does for typing. A run-time error that escapes the calculation goes to the
// runtime's default handling, which reports it and leaves the window working. An accepted
// calculation is announced to screen readers, since its results land in boxes that do not have
// the focus.

#include "Announcer.h"
#include "LineEditTextBox.h"
#include "WidgetMsgBox.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class BuildScope;
    Form1(QWidget *parent, const BuildScope &);

    void Command1_Click();
    void weight_Change();
    void heightf_Change();
    void ft_Change();
    void announceResult(bool heightRewritten);

    QLabel *Label1;
    QLineEdit *weight;
    QLabel *Label2;
    QLineEdit *heightf;
    QLabel *Label3;
    QLineEdit *ft;
    QPushButton *Command1;
    QFrame *Line1;
    QLabel *Label4;
    QLineEdit *bdmass;
    QPlainTextEdit *Text5;
    QLineEdit *nutrition;
    Announcer *announcer;

    LineEditTextBox weightBox;
    LineEditTextBox heightfBox;
    LineEditTextBox ftBox;
    LineEditTextBox bdmassBox;
    LineEditTextBox nutritionBox;
    WidgetMsgBox msgBox;
    bool tabbing = false;
};
