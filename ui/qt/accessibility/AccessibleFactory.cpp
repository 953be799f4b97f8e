#include "AccessibleFactory.h"

#include "ButtonAccessible.h"
#include "FixedTextAccessible.h"
#include "LineEditAccessible.h"
#include "MessageBoxAccessible.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

QAccessibleInterface *accessibleFactory(const QString &key, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (key == QLatin1String("QLineEdit"))
        return new LineEditAccessible(static_cast<QLineEdit *>(widget));
    if (key == QLatin1String("QPlainTextEdit"))
        return new FixedTextAccessible(static_cast<QPlainTextEdit *>(widget));
    if (key == QLatin1String("QPushButton"))
        return new ButtonAccessible(static_cast<QPushButton *>(widget));
    if (key == QLatin1String("QMessageBox"))
        return new MessageBoxAccessible(static_cast<QMessageBox *>(widget));
    if (key == QLatin1String("Form1"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (key == QLatin1String("Announcer"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (key == QLatin1String("QFrame")) {
        const auto shape = static_cast<QFrame *>(widget)->frameShape();
        if (shape == QFrame::HLine || shape == QFrame::VLine)
            return new QAccessibleWidget(widget, QAccessible::Separator);
    }
    return nullptr;
}
