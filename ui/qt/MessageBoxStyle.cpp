#include "MessageBoxStyle.h"

#include "StopSignIconEngine.h"

QIcon MessageBoxStyle::standardIcon(StandardPixmap standardIcon,
                                    const QStyleOption *option,
                                    const QWidget *widget) const
{
    if (standardIcon == SP_MessageBoxCritical)
        return QIcon(new StopSignIconEngine);
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}
