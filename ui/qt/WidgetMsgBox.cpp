#include "WidgetMsgBox.h"

#include "AppInfo.h"
#include "TitleBar.h"
#include "Utf16.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>

WidgetMsgBox::WidgetMsgBox(QWidget *parent)
    : m_parent(parent)
{
}

// Critical, the stop sign, is the one style there is.
void WidgetMsgBox::show(std::u16string_view prompt, runtime::MsgBoxStyle)
{
    // A message box is closed or answered, never minimised or maximised.
    QMessageBox box(QMessageBox::NoIcon,
                    QStringLiteral(QUORVANE_TITLE),
                    toQString(prompt),
                    QMessageBox::NoButton,
                    m_parent,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                        | Qt::WindowCloseButtonHint);
    // The icon and the button come after the style, so that their icons are the style's own or
    // kept by it: a box made with them would have searched the icon theme first. The button's
    // icon is asked of the button box's style, which a style set on the box does not change.
    box.setStyle(&m_style);
    if (auto *buttons = box.findChild<QDialogButtonBox *>())
        buttons->setStyle(&m_style);
    box.setStandardButtons(QMessageBox::Ok);
    box.setIcon(QMessageBox::Critical);
    // A window does not take its parent's font of itself.
    box.setFont(m_parent->font());
    box.setWindowModality(Qt::ApplicationModal);
    // Qt leaves the icon unnamed, and a screen reader would only say "image".
    if (auto *iconLabel = box.findChild<QLabel *>(QStringLiteral("qt_msgboxex_icon_label")))
        iconLabel->setAccessibleName(QCoreApplication::translate("WidgetMsgBox", "Critical"));
    if (TitleBar::wanted())
        TitleBar::decorate(&box);
    // A window that a box keeps input from still takes a focus request (a screen reader's, on a
    // caption or the window itself), and Qt would give it the focus once the box is gone.
    const QPointer<QWidget> focused = m_parent->focusWidget();
    box.exec();
    if (focused)
        focused->setFocus();
}
