#pragma once

#include "MessageBoxStyle.h"
#include "MsgBox.h"

#include <QWidget>

// The runtime message box as a QMessageBox: modal to the whole application, captioned with the
// application title, an OK button alone, in the window's font; OK, Enter, Escape and the close
// box all dismiss it.
class WidgetMsgBox : public runtime::MsgBox
{
public:
    explicit WidgetMsgBox(QWidget *parent);

    void show(std::u16string_view prompt, runtime::MsgBoxStyle style) override;

private:
    // The window, which owns this box.
    QWidget *m_parent;
    MessageBoxStyle m_style;
};
