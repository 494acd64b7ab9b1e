#include "application/Runtime.h"

#include "application/Application.h"
#include "application/private/WindowSystem.h"
#include "menus/MenuItem.h"
#include "sound/Sound.h"
#include "windows/Window.h"
#include "windows/WindowList.h"

#include <QApplication>
#include <QTimer>

#include <utility>

namespace {

struct RuntimeState {
    bool initialized = false;
    std::exception_ptr pendingException;
    bool quitRequested = false;
    int64_t quitStatus = 0;
    bool startupFailed = false;
};

// Never destroyed: start-up's state is read until the process ends.
RuntimeState& state()
{
    static RuntimeState* runtimeState = new RuntimeState;
    return *runtimeState;
}

// A chosen menu item's command goes to the application's handler bound to the item's name; the
// Quit item quits when none is bound.
void takeMenuCommand(const std::string& itemName, bool quitItem)
{
    Ref<Application> application = getAppObject();
    const bool handled = application && application->menuItemChosen(itemName);
    if (!handled && quitItem)
        Quit(0);
}

} // namespace

void RuntimeInit(const ApplicationIdentity& identity)
{
    if (state().initialized)
        return;
    state().initialized = true;
    setApplicationIdentity(identity);
    startWindowSystem();
    setMenuCommandHandler(&takeMenuCommand);
}

void RuntimePerformInitializers(std::span<const Initializer> applicationInitializers)
{
    RuntimeRegisterClass(Object::staticClassRecord());
    RuntimeRegisterClass(Application::staticClassRecord());
    RuntimeRegisterClass(Window::staticClassRecord());
    for (Initializer initializer : applicationInitializers) {
        try {
            initializer();
        } catch (const RuntimeException&) {
            if (!state().pendingException)
                state().pendingException = std::current_exception();
        }
    }
}

std::exception_ptr RuntimeTakePendingException()
{
    return std::exchange(state().pendingException, nullptr);
}

void RuntimeInitExternalClasses() { }

void InitPluginEntrypoints() { }

void RunFrameworkInitialization(void (*lateStartup)())
{
    if (Ref<Application> application = getAppObject())
        application->raiseEvent(ApplicationEvent::Open);
    lateStartup();
    if (Ref<Application> application = getAppObject())
        application->launchFinished();
}

void RuntimeRun()
{
    if (state().quitRequested)
        return;
    QApplication::exec();
}

void Quit(int64_t status)
{
    state().quitRequested = true;
    state().quitStatus = status;
    // Leave the running handler first; the loop ends once it is back in control.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

bool RuntimeQuitRequested()
{
    return state().quitRequested;
}

void RuntimeUnhandledException(std::exception_ptr exception)
{
    reportUnhandledException(exception);
    state().startupFailed = true;
}

void RuntimePerformFinalizers()
{
    releaseOpenWindows();
    Sound::releasePlayers();
}

int32_t RuntimeExit()
{
    if (state().startupFailed)
        return 1;
    return static_cast<int32_t>(state().quitStatus);
}
