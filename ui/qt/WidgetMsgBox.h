#pragma once

#include "MessageBoxStyle.h"
#include "MsgBox.h"

#include <QWidget>

// The runtime message box as a QMessageBox: modal to the whole application, captioned with the
// application title, an OK button alone, in the window's font; OK, Enter, Escape and the close
// box all dismiss it.
// It counts the boxes it has shown, so that the window can tell a calculation that was accepted.
class WidgetMsgBox : public runtime::MsgBox
{
public:
    explicit WidgetMsgBox(QWidget *parent);

    void show(std::u16string_view prompt, runtime::MsgBoxStyle style) override;
    int timesShown() const;

private:
    // The window, which owns this box.
    QWidget *m_parent;
    MessageBoxStyle m_style;
    int m_timesShown = 0;
};
