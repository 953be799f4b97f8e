#include "StartupGuard.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// QMessageLogContext cannot be copied; its strings are static, so their pointers are kept.
struct HeldMessage
{
    QtMsgType type;
    const char *file;
    int line;
    const char *function;
    const char *category;
    QString text;
};

bool guarding = false;
QtMessageHandler previousHandler = nullptr;
// Qt may log from its own threads while the application starts.
std::mutex heldMutex;
std::vector<HeldMessage> held;

QString captured(const QString &text, const QString &pattern)
{
    return QRegularExpression(pattern).match(text).captured(1);
}

// What Qt said while failing, in the words of someone starting the program.
QString explanation(const QString &fatal)
{
    QString missingPlugin;
    QString display;
    bool displayFailed = false;
    for (const HeldMessage &message : held) {
        const QString plugin
            = captured(message.text, QStringLiteral(R"(Could not find the Qt platform plugin "([^"]*)\")"));
        if (!plugin.isEmpty() && missingPlugin.isEmpty())
            missingPlugin = plugin;
        const QRegularExpressionMatch unreachable
            = QRegularExpression(QStringLiteral("^could not connect to display ?(.*)$")).match(message.text);
        if (unreachable.hasMatch()) {
            displayFailed = true;
            display = unreachable.captured(1).trimmed();
        }
    }
    if (missingPlugin.startsWith(QStringLiteral("wayland")))
        return QStringLiteral("this Wayland session needs Qt's Wayland platform plugin, which is not installed "
                              "(install it with: apt-get install qt6-wayland)");
    if (!missingPlugin.isEmpty()) {
        const QString available
            = captured(fatal, QStringLiteral(R"(Available platform plugins are: ([^\n]*?)\.?\s*$)"));
        return QStringLiteral("there is no platform plugin \"%1\" (available: %2)").arg(missingPlugin, available);
    }
    if (displayFailed && display.isEmpty())
        return QStringLiteral("no display is set to show the window on; run it in a desktop session, or on a "
                              "virtual display with: apt-get install xvfb && xvfb-run quorvane");
    if (displayFailed)
        return QStringLiteral("cannot connect to the X display \"%1\"").arg(display);
    return fatal.section(QLatin1Char('\n'), 0, 0);
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(heldMutex);
    if (type != QtFatalMsg) {
        held.push_back({type, context.file, context.line, context.function, context.category, text});
        return;
    }
    const QByteArray line = QStringLiteral("quorvane: cannot start: %1\n").arg(explanation(text)).toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
    // Not abort(): nothing is wrong with the program, and a core dump would say otherwise.
    std::_Exit(1);
}

} // namespace

StartupGuard::StartupGuard()
{
    guarding = true;
    previousHandler = qInstallMessageHandler(holdMessage);
}

StartupGuard::~StartupGuard()
{
    release();
}

void StartupGuard::release()
{
    if (!guarding)
        return;
    guarding = false;
    qInstallMessageHandler(previousHandler);
    std::vector<HeldMessage> released;
    {
        const std::lock_guard lock(heldMutex);
        released = std::exchange(held, {});
    }
    for (const HeldMessage &message : released) {
        const QMessageLogContext context(message.file, message.line, message.function, message.category);
        qt_message_output(message.type, context, message.text);
    }
}
