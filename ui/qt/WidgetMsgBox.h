#pragma once

#include "MsgBox.h"

#include <QPointer>
#include <QWidget>

// The runtime message box as a QMessageBox: modal to the whole application, captioned with the
// application title, an OK button alone; OK, Enter, Escape and the close box all dismiss it.
class WidgetMsgBox : public runtime::MsgBox
{
public:
    explicit WidgetMsgBox(QWidget *parent);

    void show(std::u16string_view prompt, runtime::MsgBoxStyle style) override;

private:
    QPointer<QWidget> m_parent;
};
