#include "WindowSystem.h"

#include <QApplication>
#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage>* heldMessages = nullptr;

// The platform Qt will try first: QT_QPA_PLATFORM's first choice, else the build's default,
// which on a desktop without Wayland is xcb.
std::string platformToTry()
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty())
        return chosen.split(';').front().split(':').front().trimmed().toStdString();
    if (qgetenv("XDG_SESSION_TYPE") == "wayland" || !qgetenv("WAYLAND_DISPLAY").isEmpty())
        return "wayland";
    return "xcb";
}

[[noreturn]] void cannotStart(const std::string& why)
{
    std::fprintf(stderr, "Flag of Tarnia cannot start: %s\n", why.c_str());
    std::fflush(stderr);
    // Not abort(): a missing display is no crash, and leaves no core.
    std::_Exit(1);
}

std::string firstLine(const QString& text)
{
    return text.section(QLatin1Char('\n'), 0, 0).trimmed().toStdString();
}

// Holds Qt's messages while the window system starts: if it cannot, one line of ours says
// why instead of Qt's several; if it can, they are passed on as Qt would have written them.
void holdingHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        // The warning before the fatal one names the cause ("could not connect to display").
        std::string cause;
        for (const HeldMessage& message : *heldMessages) {
            if (message.type == QtWarningMsg || message.type == QtCriticalMsg)
                cause = firstLine(message.text);
        }
        cannotStart("the window system \"" + platformToTry() + "\" is not available ("
                    + (cause.empty() ? firstLine(text) : cause) + ")");
    }
    heldMessages->push_back({ type, context.file, context.function, context.category, context.line, text });
}

} // namespace

QApplication* startWindowSystem(int& argc, char** argv)
{
    const std::string platform = platformToTry();
    if (platform == "xcb" && qEnvironmentVariableIsEmpty("DISPLAY"))
        cannotStart("no display to show its windows on (DISPLAY is not set)");

    std::vector<HeldMessage> messages;
    heldMessages = &messages;
    previousHandler = qInstallMessageHandler(&holdingHandler);
    auto* application = new QApplication(argc, argv);
    qInstallMessageHandler(previousHandler);
    heldMessages = nullptr;
    for (const HeldMessage& message : messages) {
        const QMessageLogContext context(message.file.isNull() ? nullptr : message.file.constData(), message.line,
                                         message.function.isNull() ? nullptr : message.function.constData(),
                                         message.category.isNull() ? nullptr : message.category.constData());
        previousHandler(message.type, context, message.text);
    }
    return application;
}
