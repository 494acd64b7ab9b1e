#include "Startup.h"

#include "App.h"
#include "FileTypes.h"
#include "FlagSong.h"
#include "Menu.h"
#include "wAbout.h"
#include "wFlag.h"
#include "wPanel.h"

namespace {

void emptyFileTypeList() { FileTypes::pAllFileTypes.clear(); }
void emptyFlagObj() { FileTypes::pFlagObj = nullptr; }
void emptyMenuInstance() { Menu::_implicitInstance = nullptr; }

void registerClasses()
{
    RuntimeRegisterClass(Menu::staticClassRecord());
    RuntimeRegisterClass(App::staticClassRecord());
    RuntimeRegisterClass(wAbout::staticClassRecord());
    RuntimeRegisterClass(_wrapper_IdleTimer::staticClassRecord());
    RuntimeRegisterClass(wPanel::staticClassRecord());
    RuntimeRegisterClass(_wrapper_TimerFlag::staticClassRecord());
    RuntimeRegisterClass(wFlag::staticClassRecord());
}

void resetFlagSong()
{
    FlagSongStorage::loaded = false;
    FlagSongStorage::permaSound = nullptr;
}

using MenuHandler = bool (App::*)();

struct MenuBinding {
    const char* itemName;
    MenuHandler handler;
};

// In the order of App's handlers, not of the menus.
constexpr MenuBinding kMenuBindings[] = {
    { "AboutThissoftware", &App::_AboutThissoftware_Action },
    { "AboutVisitWebSite", &App::_AboutVisitWebSite_Action },
    { "AboutMailtoAuthor", &App::_AboutMailtoAuthor_Action },
    { "AdjustShowPanel", &App::_AdjustShowPanel_Action },
    { "AdjustHidePanel", &App::_AdjustHidePanel_Action },
    { "AdjustMusicOn", &App::_AdjustMusicOn_Action },
    { "AdjustMusicOff", &App::_AdjustMusicOff_Action },
    { "AdjustLoop", &App::_AdjustLoop_Action },
    { "AdjustVolInc", &App::_AdjustVolInc_Action },
    { "AdjustVolDec", &App::_AdjustVolDec_Action },
    { "AdjustStopAnimation", &App::_AdjustStopAnimation_Action },
    { "AdjustContinueAnimation", &App::_AdjustContinueAnimation_Action },
    { "FileQuit", &App::_FileQuit_Action },
};

} // namespace

const ApplicationIdentity kApplicationIdentity {
    .programName = "FlagOfTarnia",
    .id = FLAG_APPLICATION_ID,
    .icon = ":/" FLAG_APPLICATION_ID ".svg",
    .cannotStart = "Flag of Tarnia cannot start",
    .resourcesFromExecutable = FLAG_RESOURCES_FROM_EXECUTABLE,
};

const std::array<Initializer, 5> kApplicationInitializers = {
    &emptyFileTypeList, &emptyFlagObj, &emptyMenuInstance, &registerClasses, &resetFlagSong,
};

void _Main()
{
    std::exception_ptr failure = RuntimeTakePendingException();
    if (!failure) {
        try {
            RuntimeSetExceptionHelper(&CallWithExceptionHandling);
            _EarlyStartup();
            RunFrameworkInitialization(&_LateStartup);
            RuntimeRun();
        } catch (...) {
            // Whatever its kind, the failure is reported once and main still finalises.
            failure = std::current_exception();
        }
    }
    if (failure) {
        try {
            RuntimeUnhandledException(failure);
        } catch (...) {
            // The report failing changes nothing: main still finalises and exits.
        }
    }
}

void _EarlyStartup()
{
    Application::_SetSupportsHiDPI(true);
    RuntimeInitExternalClasses();
    InitPluginEntrypoints();
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
}

void _InitFileTypes()
{
    FileTypes::_Initialize();
}

void _NewAppInstance()
{
    Ref<class App> app = RuntimeCheckCast<class App>(RuntimeNewObject(App::staticClassRecord()));
    app->Constructor();
    app->_x_SetVersionData(1, 7, 0, 0, 3, "Oct 10, 2019", "20191010", "Flag of Tarnia");
    app->MenuBar(Menu());
    RuntimeRegisterAppObject(app);
}

void _ApplicationAddMenuHandlers()
{
    for (const MenuBinding& binding : kMenuBindings) {
        Ref<class App> app = App();
        MenuHandler handler = binding.handler;
        WeakRef<class App> target = app;
        app->_AddMenuHandler(binding.itemName, [target, handler] { return (target.lock().get().*handler)(); });
    }
}

void _LateStartup()
{
    _MakeDefaultView();
}

void _MakeDefaultView()
{
    (void)wFlag();
}
