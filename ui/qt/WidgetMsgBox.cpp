#include "WidgetMsgBox.h"

#include "Utf16.h"

#include <QMessageBox>

WidgetMsgBox::WidgetMsgBox(QWidget *parent)
    : m_parent(parent)
{
}

void WidgetMsgBox::show(std::u16string_view prompt, runtime::MsgBoxStyle style)
{
    const auto icon = style == runtime::MsgBoxStyle::Critical ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(icon, toQString(runtime::applicationTitle), toQString(prompt), QMessageBox::Ok, m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
