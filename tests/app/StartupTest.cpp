#include "AppTestSupport.h"
#include "PipelineThreads.h"

#include "system/FileType.h"
#include "FileTypes.h"
#include "FlagSong.h"
#include "Menu.h"
#include "application/Runtime.h"

#include <QFile>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The item names that carry a command, in the order they are bound.
const std::vector<std::string> kBoundNames = {
    "AboutThissoftware", "AboutVisitWebSite", "AboutMailtoAuthor", "AdjustShowPanel", "AdjustHidePanel",
    "AdjustMusicOn", "AdjustMusicOff", "AdjustLoop", "AdjustVolInc", "AdjustVolDec",
    "AdjustStopAnimation", "AdjustContinueAnimation", "FileQuit",
};

bool anyWindowOpen()
{
    return RuntimeGetImplicitWindow("wFlag.wFlag") || RuntimeGetImplicitWindow("wPanel.wPanel")
        || RuntimeGetImplicitWindow("wAbout.wAbout");
}

// Runs _Main as main does. `onceShown` runs from the event loop once the flag window is on the
// screen; a guard ends a loop that would not end, so the test fails instead of hanging.
// Returns whether the guard had to.
bool runMain(const std::function<void()>& onceShown, int guardMs)
{
    bool guardFired = false;
    QTimer guard;
    guard.setSingleShot(true);
    guard.callOnTimeout([&] {
        guardFired = true;
        Quit(99);
    });
    guard.start(guardMs);
    QTimer poll;
    poll.callOnTimeout([&] {
        Ref<Window> flag = RuntimeGetImplicitWindow("wFlag.wFlag");
        if (flag && flag->qtWidget()->isVisible()) {
            poll.stop();
            onceShown();
        }
    });
    poll.start(10);
    _Main();
    return guardFired;
}

TEST(EarlyStartup, MakesTheRegisteredAppWithItsVersionDataMenuBarAndBindingsButNoWindow)
{
    RuntimePerformInitializers(kApplicationInitializers);
    ASSERT_FALSE(getAppObject());
    ASSERT_FALSE(Menu::_implicitInstance);

    RuntimeSetExceptionHelper(&CallWithExceptionHandling);
    _EarlyStartup();

    Ref<class App> app = App();
    ASSERT_TRUE(app);
    EXPECT_EQ(App(), app) << "the accessor gives the one object every time";
    EXPECT_EQ(getAppObject(), app);
    EXPECT_EQ(app->classRecord().name, "App");
    EXPECT_EQ(app->classRecord().superclass, &Application::staticClassRecord());
    EXPECT_EQ(app.shared().use_count(), 2) << "only the runtime and this test hold the App";

    EXPECT_EQ(app->MajorVersion(), 1);
    EXPECT_EQ(app->MinorVersion(), 7);
    EXPECT_EQ(app->BugVersion(), 0);
    EXPECT_EQ(app->NonReleaseVersion(), 0);
    EXPECT_EQ(app->StageCode(), 3);
    EXPECT_EQ(app->LongVersion(), "Oct 10, 2019");
    EXPECT_EQ(app->ShortVersion(), "20191010");
    EXPECT_EQ(app->PackageInfo(), "Flag of Tarnia");

    EXPECT_TRUE(app->MenuBar());
    EXPECT_EQ(app->MenuBar(), Menu());
    EXPECT_EQ(app->menuHandlerNames(), kBoundNames);
    EXPECT_FALSE(anyWindowOpen()) << "the flag window waits for the late start-up";
}

TEST(EarlyStartup, TheAppIsCompleteWhenTheRuntimeFirstHoldsIt)
{
    RuntimePerformInitializers(kApplicationInitializers);
    _InitFileTypes();
    _NewAppInstance();

    // Registration ends _NewAppInstance: what the runtime holds now is what it first saw.
    Ref<Application> registered = getAppObject();
    ASSERT_TRUE(registered);
    EXPECT_EQ(registered->MajorVersion(), 1);
    EXPECT_EQ(registered->PackageInfo(), "Flag of Tarnia");
    ASSERT_TRUE(registered->MenuBar());
    EXPECT_EQ(registered->MenuBar(), Menu::_implicitInstance);
    EXPECT_EQ(registered->MenuBar()->Count(), 2);
    EXPECT_TRUE(registered->MenuBar()->_Lookup("AboutMailtoAuthor")) << "the bar is built in full";
    EXPECT_TRUE(registered->menuHandlerNames().empty()) << "commands are bound only after registration";
}

TEST(MenuHandlers, ThirteenNamesAreBoundAndVolumeMinusReachesItsCommand)
{
    test::launchApplication();
    EXPECT_EQ(App()->menuHandlerNames(), kBoundNames) << "menus and separators carry no command";

    const int64_t before = wPanel()->VolumeSlider()->Value();
    ASSERT_TRUE(test::chooseMenuItem("AdjustVolDec"));
    EXPECT_EQ(wPanel()->VolumeSlider()->Value(), before - 10);
    EXPECT_EQ(FlagSong()->Volume(), before - 10);
}

TEST(LateStartup, MakesTheFlagWindowWithTheApplicationsMenuBar)
{
    test::launchApplication();
    Ref<Window> flag = RuntimeGetImplicitWindow("wFlag.wFlag");
    ASSERT_TRUE(flag);
    EXPECT_TRUE(flag->qtWidget()->isVisible());
    EXPECT_EQ(flag->MenuBar(), App()->MenuBar());
    EXPECT_EQ(flag->MenuBar(), Menu());
}

struct QuitPath {
    const char* name;
    void (*act)();
};

void PrintTo(const QuitPath& path, std::ostream* out) { *out << path.name; }

class Quitting : public testing::TestWithParam<QuitPath> { };

TEST_P(Quitting, EndsTheEventLoopAndTheProcessWithStatusZero)
{
    RuntimeSetExecutablePathForTesting(FLAG_EXECUTABLE);
    RuntimePerformInitializers(kApplicationInitializers);

    const bool guardFired = runMain(GetParam().act, 10000);

    EXPECT_FALSE(guardFired) << "the event loop ended by itself";
    EXPECT_TRUE(RuntimeQuitRequested());
    RuntimePerformFinalizers();
    EXPECT_FALSE(anyWindowOpen()) << "the finalisers release the windows";
    EXPECT_EQ(RuntimeExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(, Quitting,
    testing::Values(QuitPath { "ThroughExit", [] { EXPECT_TRUE(test::chooseMenuItem("FileQuit")); } },
                    QuitPath { "ByClosingTheFlagWindow", [] { wFlag()->qtWidget()->close(); } }),
    [](const testing::TestParamInfo<QuitPath>& info) { return std::string(info.param.name); });

// A song's pipeline left running when the process ends goes on loading plugins on its own
// threads while the libraries are finalised, and the process can abort on its way out.
TEST(Finalizers, EndTheSongsPlaybackBeforeTheProcessEnds)
{
    test::launchApplication();
    ASSERT_TRUE(test::waitUntil(test::decodingMp3, 10000)) << "the song plays";
    RuntimePerformFinalizers();
    EXPECT_TRUE(test::waitUntil([] { return !test::pipelineRuns(); }, 10000)) << "its streaming threads are gone";
}

struct FailingStartup {
    const char* name;
    // Prepares the failure and runs the static initialisers.
    void (*arrange)();
    // What the report says of this failure.
    const char* reported;
};

void PrintTo(const FailingStartup& failure, std::ostream* out) { *out << failure.name; }

void registerTheFileTypesNameFirst()
{
    RuntimePerformInitializers(kApplicationInitializers);
    // The runtime refuses a second type of one name, so building the file type raises.
    RuntimeRegisterFileType("Tarnia Flag", "", "", "", "");
}

void failInAStaticInitialiser()
{
    std::vector<Initializer> table(kApplicationInitializers.begin(), kApplicationInitializers.end());
    table.push_back([] { throw RuntimeException("RuntimeException", "an initialiser failed"); });
    RuntimePerformInitializers(table);
}

class StartupFailure : public testing::TestWithParam<FailingStartup> { };

TEST_P(StartupFailure, IsReportedOnceAndEndsWithoutWindowOrEventLoop)
{
    GetParam().arrange();
    const std::vector<RegisteredFileType> typesBefore = RuntimeRegisteredFileTypes();

    testing::internal::CaptureStderr();
    const bool guardFired = runMain([] { }, 3000);
    const std::string errors = testing::internal::GetCapturedStderr();

    size_t reports = 0;
    for (size_t at = errors.find("Unhandled"); at != std::string::npos; at = errors.find("Unhandled", at + 1))
        ++reports;
    EXPECT_EQ(reports, 1u) << errors;
    EXPECT_NE(errors.find(GetParam().reported), std::string::npos) << errors;
    EXPECT_FALSE(guardFired) << "the event loop was never entered";
    EXPECT_FALSE(RuntimeGetImplicitWindow("wFlag.wFlag"));
    EXPECT_FALSE(anyWindowOpen());
    EXPECT_FALSE(getAppObject()) << "start-up stopped before the application object";
    EXPECT_EQ(RuntimeRegisteredFileTypes(), typesBefore) << "nothing of the file type was registered";

    RuntimePerformFinalizers();
    EXPECT_NE(RuntimeExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(, StartupFailure,
    testing::Values(FailingStartup { "InTheFileTypeStep", &registerTheFileTypesNameFirst, "Tarnia Flag" },
                    FailingStartup { "PendingFromAStaticInitialiser", &failInAStaticInitialiser, "an initialiser failed" }),
    [](const testing::TestParamInfo<FailingStartup>& info) { return std::string(info.param.name); });

// The application as installed on a machine without Qt's Wayland plugin: a link to it beside a
// qt.conf whose plugin folder holds every platform plugin but Wayland's. Qt 6.4 looks for
// platform plugins in its own folder whatever QT_PLUGIN_PATH or QT_QPA_PLATFORM_PLUGIN_PATH
// say, so only its configuration can hide one.
class WithoutWaylandPlugin {
public:
    WithoutWaylandPlugin()
    {
        namespace fs = std::filesystem;
        const fs::path folder = m_folder.path().toStdString();
        const fs::path platforms = fs::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) / "platforms";
        fs::create_directories(folder / "plugins" / "platforms");
        for (const auto& plugin : fs::directory_iterator(platforms)) {
            if (plugin.path().filename().string().find("wayland") == std::string::npos)
                fs::create_symlink(plugin.path(), folder / "plugins" / "platforms" / plugin.path().filename());
        }
        std::ofstream(folder / "qt.conf") << "[Paths]\nPlugins=" << (folder / "plugins").string() << "\n";
        // Qt reads qt.conf beside the executable as /proc/self/exe names it, which a symbolic link
        // would not change.
        m_executable = folder / "FlagOfTarnia";
        std::error_code linked;
        fs::create_hard_link(FLAG_EXECUTABLE, m_executable, linked);
        if (linked)
            fs::copy_file(FLAG_EXECUTABLE, m_executable);
    }

    QString executable() const { return QString::fromStdString(m_executable.string()); }

private:
    QTemporaryDir m_folder;
    std::filesystem::path m_executable;
};

// Without a window system to show its windows the application says what is missing in one line
// of its own and fails, with no abort and no core; Qt's messages and those of the libraries under
// it (libwayland's "XDG_RUNTIME_DIR is invalid") are held back.
TEST(StartingWithout, SaysWhyInOneLineAndFails)
{
    enum class RuntimeFolder { None, EmptyOfItsOwn };
    struct Case {
        const char* what;
        const char* platform;
        const char* display;
        bool waylandSession;
        bool waylandPlugin;
        RuntimeFolder runtimeFolder;
        // What the line names as missing.
        const char* missing;
    };
    const Case cases[] = {
        { "no display at all", nullptr, nullptr, false, true, RuntimeFolder::None,
          "neither an X display nor a Wayland compositor is available" },
        { "no display at all, without the Wayland plugin", nullptr, nullptr, false, false, RuntimeFolder::None,
          "neither an X display nor a Wayland compositor is available" },
        { "X11 chosen, no display", "xcb", nullptr, false, true, RuntimeFolder::None, "no X display is available" },
        { "a display that does not answer", "xcb", ":4242", false, true, RuntimeFolder::None,
          "the X display :4242 is not available" },
        { "a display that does not answer, in a Wayland session", nullptr, ":4242", true, true, RuntimeFolder::None,
          "the X display :4242 is not available" },
        { "Wayland chosen, no runtime folder", "wayland", nullptr, false, true, RuntimeFolder::None,
          "no Wayland compositor is available" },
        { "Wayland chosen, no compositor in its runtime folder", "wayland", nullptr, false, true,
          RuntimeFolder::EmptyOfItsOwn, "no Wayland compositor is available" },
        { "Wayland chosen, without the Wayland plugin", "wayland", nullptr, false, false, RuntimeFolder::None,
          "the window system \"wayland\" is not available" },
    };
    const WithoutWaylandPlugin withoutPlugin;
    QTemporaryDir emptyRuntimeFolder;
    ASSERT_TRUE(QFile::setPermissions(emptyRuntimeFolder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM" })
            environment.remove(name);
        if (row.platform)
            environment.insert("QT_QPA_PLATFORM", row.platform);
        if (row.display)
            environment.insert("DISPLAY", row.display);
        if (row.waylandSession) {
            environment.insert("WAYLAND_DISPLAY", "wayland-0");
            environment.insert("XDG_SESSION_TYPE", "wayland");
        }
        if (row.waylandSession || row.runtimeFolder == RuntimeFolder::EmptyOfItsOwn)
            environment.insert("XDG_RUNTIME_DIR", emptyRuntimeFolder.path());
        QProcess application;
        application.setProcessEnvironment(environment);
        application.start(row.waylandPlugin ? QStringLiteral(FLAG_EXECUTABLE) : withoutPlugin.executable(), {});
        ASSERT_TRUE(application.waitForFinished(30000));
        const QString errors = QString::fromLocal8Bit(application.readAllStandardError());
        EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(application.exitCode(), 1);
        EXPECT_EQ(errors.count(QLatin1Char('\n')), 1) << errors.toStdString();
        EXPECT_TRUE(errors.startsWith("Flag of Tarnia cannot start: ")) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QLatin1String(row.missing))) << errors.toStdString();
    }
}

} // namespace
