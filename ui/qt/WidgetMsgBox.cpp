#include "WidgetMsgBox.h"

#include "Utf16.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>

WidgetMsgBox::WidgetMsgBox(QWidget *parent)
    : m_parent(parent)
{
}

void WidgetMsgBox::show(std::u16string_view prompt, runtime::MsgBoxStyle style)
{
    const auto icon = style == runtime::MsgBoxStyle::Critical ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(
        QMessageBox::NoIcon, toQString(runtime::applicationTitle), toQString(prompt), QMessageBox::Ok, m_parent);
    // The icon comes after the style, so that it is our own: a box made with its icon would have
    // searched the icon theme for it first.
    box.setStyle(&m_style);
    box.setIcon(icon);
    // A window does not take its parent's font of itself.
    box.setFont(m_parent->font());
    box.setWindowModality(Qt::ApplicationModal);
    // Qt leaves the icon unnamed, and a screen reader would only say "image".
    if (auto *iconLabel = box.findChild<QLabel *>(QStringLiteral("qt_msgboxex_icon_label"));
        iconLabel && icon == QMessageBox::Critical)
        iconLabel->setAccessibleName(QCoreApplication::translate("WidgetMsgBox", "Critical"));
    ++m_timesShown;
    box.exec();
}

int WidgetMsgBox::timesShown() const
{
    return m_timesShown;
}
