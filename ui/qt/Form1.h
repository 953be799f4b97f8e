#pragma once

// The program's one window: the controls of ui/Form1Design.h, made by walking it, bound to the
// events of ui/Form1Events.h. A write by the core raises the box's textChanged before it returns,
// so the length rule runs nested inside the calculation exactly as it does for typing.

#include "Form1Events.h"
#include "LineEditTextBox.h"
#include "WidgetMsgBox.h"
#include "accessibility/Announcer.h"

#include <QWidget>

#include <string_view>

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

    void keep(std::string_view name, QWidget *made);
    void Command1_Click();

    // The controls the events reach, kept as they are made.
    QLineEdit *m_weight = nullptr;
    QLineEdit *m_heightf = nullptr;
    QLineEdit *m_ft = nullptr;
    QLineEdit *m_bdmass = nullptr;
    QLineEdit *m_nutrition = nullptr;
    QPushButton *m_command1 = nullptr;
    Announcer *m_announcer = nullptr;

    LineEditTextBox m_weightBox;
    LineEditTextBox m_heightfBox;
    LineEditTextBox m_ftBox;
    LineEditTextBox m_bdmassBox;
    LineEditTextBox m_nutritionBox;
    WidgetMsgBox m_msgBox;
    Form1Events m_events;
    bool m_tabbing = false;
};
