#include "application/Runtime.h"

#include "application/Application.h"
#include "application/private/WindowSystem.h"
#include "sound/Sound.h"
#include "windows/Window.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct RuntimeState {
    std::exception_ptr pendingException;
    std::vector<Ref<Window>> openWindows;
    bool quitRequested = false;
    int64_t quitStatus = 0;
    bool startupFailed = false;
};

// Never destroyed: windows left open at exit must not be taken down after parts of Qt are gone.
RuntimeState& state()
{
    static RuntimeState* runtimeState = new RuntimeState;
    return *runtimeState;
}

} // namespace

void RuntimeInit(const ApplicationIdentity& identity)
{
    if (QCoreApplication::instance())
        return;
    setApplicationIdentity(identity);
    startWindowSystem();
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
    std::vector<Ref<Window>> windows = std::move(state().openWindows);
    state().openWindows.clear();
    windows.clear();
    Sound::releasePlayers();
}

int32_t RuntimeExit()
{
    if (state().startupFailed)
        return 1;
    return static_cast<int32_t>(state().quitStatus);
}

Ref<Window> RuntimeGetImplicitWindow(const std::string& className)
{
    for (const Ref<Window>& window : state().openWindows) {
        if (window->classRecord().name == className)
            return window;
    }
    return nullptr;
}

void RuntimeAddOpenWindow(const Ref<Window>& window)
{
    state().openWindows.push_back(window);
}

void RuntimeRemoveOpenWindow(const Window& window)
{
    auto& windows = state().openWindows;
    auto found = std::find_if(windows.begin(), windows.end(), [&](const Ref<Window>& w) { return w.raw() == &window; });
    if (found == windows.end())
        return;
    // Release outside the list: the window's destructor may call back into the runtime.
    Ref<Window> keep = *found;
    windows.erase(found);
}
