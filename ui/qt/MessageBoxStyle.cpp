#include "MessageBoxStyle.h"

#include "StopSignIconEngine.h"

QIcon MessageBoxStyle::standardIcon(StandardPixmap standardIcon,
                                    const QStyleOption *option,
                                    const QWidget *widget) const
{
    auto kept = m_icons.constFind(standardIcon);
    if (kept == m_icons.cend()) {
        kept = m_icons.insert(standardIcon,
                              standardIcon == SP_MessageBoxCritical
                                  ? QIcon(new StopSignIconEngine)
                                  : QProxyStyle::standardIcon(standardIcon, option, widget));
    }
    return *kept;
}
