#include "platform_start.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "tell_user.h"

namespace moxel::start {

namespace {

struct HeldMessage {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};

QtMessageHandler qtHandler = nullptr;
// Qt's message handler runs on any thread: X11's event thread starts while
// the platform does.
std::mutex heldLock;
bool holding = false;
QList<HeldMessage> held;

QString firstLine(const QString& text) {
    return text.section(u'\n', 0, 0);
}

// xcb names the display it could not reach, and none where DISPLAY is unset.
QString inPlainWords(const QString& pluginMessage) {
    const QLatin1String unreachable("could not connect to display");
    if (!pluginMessage.startsWith(unreachable))
        return pluginMessage;
    const QString display = pluginMessage.mid(unreachable.size()).trimmed();
    return display.isEmpty() ? QStringLiteral("no X11 display is set (DISPLAY)")
                             : QStringLiteral("cannot open the display %1").arg(display);
}

// What Qt's plugin loader and the plugins said before Qt gave up, as one line.
QString whatFailed(const QString& fatal) {
    QString installed = firstLine(fatal.section(QLatin1String("platform plugins are: "), 1));
    if (installed.endsWith(u'.'))
        installed.chop(1);
    QStringList reasons;
    bool explained = false;  // the plugin itself said why it could not start
    for (const HeldMessage& message : std::as_const(held)) {
        const QLatin1String category(message.category ? message.category : "");
        const QString text = firstLine(message.text);
        const QString plugin = text.section(u'"', 1, 1);
        if (category == QLatin1String("qt.qpa.plugin")) {
            if (text.startsWith(QLatin1String("Could not find"))) {
                reasons << QStringLiteral("there is no Qt platform plugin \"%1\" (there are: %2)")
                               .arg(plugin, installed);
            } else if (!explained) {
                reasons
                    << QStringLiteral("the Qt platform plugin \"%1\" could not start").arg(plugin);
            }
            explained = false;
        } else if (category.startsWith(QLatin1String("qt.qpa."))) {
            reasons << inPlainWords(text);
            explained = true;
        }
    }
    return reasons.isEmpty() ? firstLine(fatal) : reasons.join(QLatin1String("; "));
}

void holdOrFail(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::unique_lock lock(heldLock);
    if (holding && type == QtFatalMsg) {
        const QString line =
            QCoreApplication::applicationName() + QLatin1String(": ") + whatFailed(text) + u'\n';
        tellUser(stderr, line);
        std::_Exit(1);
    }
    // Qt's debug messages come only when asked for. Where warnings are made
    // fatal, Qt ends the program as soon as this returns. Once the platform is
    // up (another thread may still come here), nothing is held.
    if (!holding || type == QtDebugMsg || qEnvironmentVariableIsSet("QT_FATAL_WARNINGS") ||
        qEnvironmentVariableIsSet("QT_FATAL_CRITICALS")) {
        lock.unlock();
        qtHandler(type, context, text);
        return;
    }
    held.append({type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

void guardPlatformStart() {
    holding = true;
    qtHandler = qInstallMessageHandler(holdOrFail);
}

void platformStarted() {
    qInstallMessageHandler(qtHandler);
    QList<HeldMessage> started;
    {
        const std::lock_guard lock(heldLock);
        holding = false;
        started = std::exchange(held, {});
    }
    for (const HeldMessage& message : std::as_const(started)) {
        qtHandler(
            message.type,
            QMessageLogContext(message.file, message.line, message.function, message.category),
            message.text);
    }
}

}  // namespace moxel::start
