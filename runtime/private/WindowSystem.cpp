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

// The platform asked for in QT_QPA_PLATFORM (its first choice), or empty when Qt picks one.
std::string chosenPlatform()
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    return chosen.split(';').front().split(':').front().trimmed().toStdString();
}

// Whether Qt will try X11 first: asked for, or Qt's default on a desktop without Wayland.
bool triesX11First()
{
    const std::string chosen = chosenPlatform();
    if (!chosen.empty())
        return chosen == "xcb";
    return qgetenv("XDG_SESSION_TYPE") != "wayland" && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
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
        const std::string platform = chosenPlatform();
        cannotStart("the window system" + (platform.empty() ? std::string() : " \"" + platform + "\"")
                    + " is not available (" + (cause.empty() ? firstLine(text) : cause) + ")");
    }
    heldMessages->push_back({ type, context.file, context.function, context.category, context.line, text });
}

} // namespace

QApplication* startWindowSystem(int& argc, char** argv)
{
    if (triesX11First() && qEnvironmentVariableIsEmpty("DISPLAY"))
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
