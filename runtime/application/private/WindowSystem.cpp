#include "application/private/WindowSystem.h"

#include "application/ApplicationIdentity.h"
#include "qt/QtSupport.h"

#include <QApplication>
#include <QByteArray>
#include <QIcon>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
    // What had been written to standard error before it, so both are passed on in their order.
    off_t errorBytesBefore;
};

// What start-up keeps back until it knows whether the window system came up.
struct Held {
    std::vector<HeldMessage> messages;
    // Standard error's own file while descriptor 2 writes into `written`, or -1.
    int standardError = -1;
    int written = -1;
};

QtMessageHandler previousHandler = nullptr;
// Qt's threads may write messages too while the window system starts.
std::mutex heldMutex;
Held* held = nullptr;

// The platforms the person asked for in QT_QPA_PLATFORM, in Qt's order; none when Qt is to pick.
QStringList chosenPlatforms()
{
    QStringList names;
    for (const QString& entry : qEnvironmentVariable("QT_QPA_PLATFORM").split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

bool hasXDisplay() { return !qEnvironmentVariableIsEmpty("DISPLAY"); }

// The platform to start when the person chose none (else null), kept where Qt may hold it. X11
// wherever there is an X server (XWayland in a Wayland session): only there can the application
// place its windows and keep the panel above the flag, and Qt 6.4 would take Wayland whenever
// WAYLAND_DISPLAY or XDG_SESSION_TYPE says so. Without one, only a Wayland compositor can show
// the windows.
char* platformToStart()
{
    static char x11[] = "xcb";
    static char wayland[] = "wayland";
    if (!chosenPlatforms().isEmpty())
        return nullptr;
    return hasXDisplay() ? x11 : wayland;
}

// What is missing, in the words of the failure's one line; `cause` is Qt's own first line, and
// `pluginFailed` tells that Qt could not find or load the platform's plugin at all.
std::string whatIsMissing(const std::string& cause, bool pluginFailed)
{
    const QStringList chosen = chosenPlatforms();
    if (chosen.isEmpty() && !hasXDisplay())
        return "neither an X display nor a Wayland compositor is available (DISPLAY is not set; " + cause + ")";
    const QString platform = chosen.isEmpty() ? QStringLiteral("xcb") : chosen.join(QLatin1Char(';'));
    if (platform == QLatin1String("xcb") && !hasXDisplay())
        return "no X display is available (DISPLAY is not set)";
    std::string what;
    if (platform == QLatin1String("xcb") && !pluginFailed)
        what = "the X display " + qEnvironmentVariable("DISPLAY").toStdString() + " is not available";
    else if (platform == QLatin1String("wayland") && !pluginFailed)
        what = "no Wayland compositor is available";
    else if (chosen.size() > 1)
        what = "none of the window systems \"" + platform.toStdString() + "\" is available";
    else
        what = "the window system \"" + platform.toStdString() + "\" is not available";
    return what + " (" + cause + ")";
}

// Writes what descriptor 2 took from `begin` to `end` into the held file to standard error.
void passOnBytes(const Held& holding, off_t begin, off_t end)
{
    char buffer[4096];
    while (begin < end) {
        const ssize_t count = pread(holding.written, buffer, std::min<off_t>(sizeof buffer, end - begin), begin);
        if (count <= 0)
            return;
        for (ssize_t done = 0; done < count;) {
            const ssize_t wrote = write(STDERR_FILENO, buffer + done, count - done);
            if (wrote <= 0)
                return;
            done += wrote;
        }
        begin += count;
    }
}

off_t errorBytesWritten(const Held& holding) { return holding.written < 0 ? 0 : lseek(holding.written, 0, SEEK_CUR); }

// Libraries under Qt's plugins write to descriptor 2 themselves, not through Qt's messages
// (libwayland-client's "error: XDG_RUNTIME_DIR is invalid or not set in the environment."):
// hold that too, in a file in memory.
void holdStandardError(Held& holding)
{
    std::fflush(stderr);
    holding.written = memfd_create("held-standard-error", MFD_CLOEXEC);
    holding.standardError = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (holding.written < 0 || holding.standardError < 0 || dup2(holding.written, STDERR_FILENO) < 0) {
        // Then only Qt's messages are held.
        if (holding.written >= 0)
            close(holding.written);
        if (holding.standardError >= 0)
            close(holding.standardError);
        holding.written = holding.standardError = -1;
    }
}

void restoreStandardError(Held& holding)
{
    if (holding.standardError < 0)
        return;
    std::fflush(stderr);
    dup2(holding.standardError, STDERR_FILENO);
    close(holding.standardError);
    holding.standardError = -1;
}

// Passes on what was held, in the order it came, as Qt and the libraries would have written it.
void passOn(Held& holding)
{
    off_t passed = 0;
    for (const HeldMessage& message : holding.messages) {
        passOnBytes(holding, passed, message.errorBytesBefore);
        passed = message.errorBytesBefore;
        const QMessageLogContext context(message.file.isNull() ? nullptr : message.file.constData(), message.line,
                                         message.function.isNull() ? nullptr : message.function.constData(),
                                         message.category.isNull() ? nullptr : message.category.constData());
        previousHandler(message.type, context, message.text);
    }
    passOnBytes(holding, passed, errorBytesWritten(holding));
    if (holding.written >= 0)
        close(holding.written);
}

[[noreturn]] void cannotStart(const std::string& why)
{
    std::fprintf(stderr, "%s: %s\n", applicationIdentity().cannotStart.c_str(), why.c_str());
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
    std::unique_lock lock(heldMutex);
    if (!held) {
        // Start-up is over; a message from one of Qt's threads on its way in meanwhile.
        lock.unlock();
        previousHandler(type, context, text);
        return;
    }
    if (type == QtFatalMsg) {
        // The last warning before the fatal one names the cause ("could not connect to display").
        const HeldMessage* cause = nullptr;
        for (const HeldMessage& message : held->messages) {
            if (message.type == QtWarningMsg || message.type == QtCriticalMsg)
                cause = &message;
        }
        // Qt's plugin loader speaks for itself when it found no plugin to start.
        const bool pluginFailed = cause && cause->category == "qt.qpa.plugin";
        const std::string why = whatIsMissing(cause ? firstLine(cause->text) : firstLine(text), pluginFailed);
        restoreStandardError(*held);
        cannotStart(why);
    }
    held->messages.push_back({ type, context.file, context.function, context.category, context.line, text,
                               errorBytesWritten(*held) });
}

} // namespace

QApplication* startWindowSystem()
{
    if (QCoreApplication::instance())
        return qApp;
    const ApplicationIdentity& identity = applicationIdentity();
    // Qt keeps the arguments for the application's life. "-platform" leaves the environment,
    // and so that of the programs the application starts (xdg-open), as the person set it.
    static std::string programName;
    static char platformOption[] = "-platform";
    static char* arguments[] = { nullptr, nullptr, nullptr, nullptr };
    static int count = 1;
    programName = identity.programName;
    arguments[0] = programName.data();
    if (char* platform = platformToStart()) {
        arguments[1] = platformOption;
        arguments[2] = platform;
        count = 3;
    }

    Held holding;
    holdStandardError(holding);
    held = &holding;
    previousHandler = qInstallMessageHandler(&holdingHandler);
    auto* application = new QApplication(count, arguments);
    qInstallMessageHandler(previousHandler);
    {
        const std::lock_guard lock(heldMutex);
        restoreStandardError(holding);
        held = nullptr;
    }
    passOn(holding);

    watchQtThreadExit();
    // The id becomes the windows' WM_CLASS class and matches the desktop entry, so a dock groups
    // the windows under the entry; the icon is the entry's too.
    if (!identity.id.empty()) {
        QApplication::setApplicationName(QString::fromStdString(identity.id));
        QGuiApplication::setDesktopFileName(QString::fromStdString(identity.id));
    }
    if (!identity.icon.empty())
        QApplication::setWindowIcon(QIcon(QString::fromStdString(identity.icon)));
    // Only Quit ends the process: closing windows never does by itself.
    application->setQuitOnLastWindowClosed(false);
    return application;
}
