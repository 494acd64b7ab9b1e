#include "AppTestSupport.h"

#include "application/Runtime.h"
#include "FlagSong.h"
#include "Links.h"
#include "Menu.h"
#include "StandInOpener.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace {

// The item's flags, both as the application holds them and as the menu shows them.
void expectItem(const char* name, bool visible, std::optional<bool> enabled = std::nullopt)
{
    SCOPED_TRACE(name);
    Ref<MenuItem> item = Menu()->_Lookup(name);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Visible(), visible);
    EXPECT_EQ(test::menuAction(name)->isVisible(), visible);
    if (enabled) {
        EXPECT_EQ(item->Enabled(), *enabled);
        // Qt reports a hidden action as disabled whatever its own flag.
        if (visible) {
            EXPECT_EQ(test::menuAction(name)->isEnabled(), *enabled);
        }
    }
}

struct LaunchOrder {
    const char* name;
    void (*launch)();
};

void PrintTo(const LaunchOrder& order, std::ostream* out) { *out << order.name; }

void launchWithTheWindowBeforeTheApplicationsOpen()
{
    RuntimeSetExecutablePathForTesting(FLAG_EXECUTABLE);
    RuntimePerformInitializers(kApplicationInitializers);
    RuntimeSetExceptionHelper(&CallWithExceptionHandling);
    _EarlyStartup();
    // A runtime may call the late start-up back before it raises the application's Open.
    _LateStartup();
    App()->raiseEvent(ApplicationEvent::Open);
    App()->launchFinished();
    test::waitUntil([] { return wFlag()->ArcRatio != 0.0; });
}

class LaunchState : public testing::TestWithParam<LaunchOrder> { };

TEST_P(LaunchState, IsTheSameWhicheverOpenComesFirst)
{
    GetParam().launch();
    // Let the activation that comes with launch arrive: it must leave the panel alone.
    test::processEventsFor(100);

    expectItem("AdjustMusicOn", false);
    expectItem("AdjustHidePanel", false);
    expectItem("AdjustStopAnimation", false);
    expectItem("AdjustContinueAnimation", false);
    expectItem("AdjustMusicOff", true, true);
    expectItem("AdjustLoop", true);
    EXPECT_EQ(AdjustLoop()->Checked(), wPanel()->CheckBoxLoop()->Value());
    EXPECT_EQ(wPanel()->SizeSlider()->MaximumValue(), 1900) << "the main screen's 1920 less 20";
    EXPECT_EQ(wPanel()->SpeedSlider()->Value(), 4);
    EXPECT_TRUE(wPanel()->Visible());
    EXPECT_TRUE(FlagSong()->IsPlaying());
}

INSTANTIATE_TEST_SUITE_P(, LaunchState,
    testing::Values(LaunchOrder { "ApplicationOpenFirst", [] { test::launchApplication(); } },
                    LaunchOrder { "FlagWindowFirst", &launchWithTheWindowBeforeTheApplicationsOpen }),
    [](const testing::TestParamInfo<LaunchOrder>& info) { return std::string(info.param.name); });

TEST(VolumeCommands, StepByTenWithinTheBoundsAndOfferTheOtherStep)
{
    struct Case {
        int64_t start;
        const char* command;
        int64_t volume;
        bool volumeUpOffered;
        bool volumeDownOffered;
    };
    const Case cases[] = {
        { 95, "AdjustVolInc", 100, false, true },
        { 90, "AdjustVolInc", 100, false, true },
        { 100, "AdjustVolInc", 100, false, true },
        { 50, "AdjustVolInc", 60, true, true },
        { 10, "AdjustVolDec", 0, true, false },
        { 5, "AdjustVolDec", 0, true, false },
        { 0, "AdjustVolDec", 0, true, false },
        { 50, "AdjustVolDec", 40, true, true },
    };
    test::launchApplication();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " from " << c.start);
        const bool up = std::string(c.command) == "AdjustVolInc";
        // The chosen step offered, the other hidden by an earlier step to its bound.
        AdjustVolInc()->Visible(up);
        AdjustVolDec()->Visible(!up);
        wPanel()->VolumeSlider()->Value(c.start);

        ASSERT_TRUE(test::chooseMenuItem(c.command));

        EXPECT_EQ(wPanel()->VolumeSlider()->Value(), c.volume);
        EXPECT_EQ(FlagSong()->Volume(), c.volume);
        expectItem("AdjustVolInc", c.volumeUpOffered, true);
        expectItem("AdjustVolDec", c.volumeDownOffered, true);
    }
}

TEST(LoopCommand, ChosenTwiceBringsCheckMarkAndBoxBackAndLeavesTheSongAlone)
{
    test::launchApplication();
    ASSERT_TRUE(FlagSong()->IsPlaying());
    ASSERT_FALSE(AdjustLoop()->Checked());
    auto* box = qobject_cast<QCheckBox*>(wPanel()->CheckBoxLoop()->widget());
    ASSERT_TRUE(box);

    for (bool looping : { true, false }) {
        SCOPED_TRACE(looping);
        ASSERT_TRUE(test::chooseMenuItem("AdjustLoop"));
        EXPECT_EQ(AdjustLoop()->Checked(), looping);
        EXPECT_EQ(test::menuAction("AdjustLoop")->isChecked(), looping);
        EXPECT_EQ(wPanel()->CheckBoxLoop()->Value(), looping);
        EXPECT_EQ(box->isChecked(), looping);
        EXPECT_TRUE(FlagSong()->IsPlaying());
        EXPECT_FALSE(FlagSong()->isLooping()) << "the setting waits for the song's next start";
    }
}

void expectPanelHiddenAndShowPanelOffered()
{
    EXPECT_FALSE(wPanel()->Visible());
    EXPECT_FALSE(wPanel()->qtWidget()->isVisible());
    expectItem("AdjustHidePanel", false, false);
    expectItem("AdjustShowPanel", true, true);
}

TEST(PanelCommands, HidePanelTwiceHidesThePanelAndSwitchesTheItemsEachTime)
{
    test::launchApplication();
    ASSERT_TRUE(test::chooseMenuItem("AdjustShowPanel"));
    expectItem("AdjustHidePanel", true, true);
    expectItem("AdjustShowPanel", false, false);

    ASSERT_TRUE(test::chooseMenuItem("AdjustHidePanel"));
    expectPanelHiddenAndShowPanelOffered();

    // Now hidden, the item cannot be chosen from the menu; deliver it by name as the runtime
    // delivers a chosen item.
    EXPECT_FALSE(test::chooseMenuItem("AdjustHidePanel"));
    ASSERT_TRUE(App()->menuItemChosen("AdjustHidePanel"));
    expectPanelHiddenAndShowPanelOffered();
}

TEST(PanelCommands, ShowPanelRestartsTheIdleCount)
{
    test::launchApplication();
    wPanel()->IdleTimer()->Period(20);
    // A new period counts from the next tick; start one now rather than wait out the second.
    wPanel()->IdleTimer()->Reset();
    ASSERT_TRUE(test::waitUntil([] { return !wPanel()->Visible(); }, 3000)) << "the idle panel hides itself";
    expectPanelHiddenAndShowPanelOffered();

    ASSERT_TRUE(test::chooseMenuItem("AdjustShowPanel"));
    EXPECT_TRUE(wPanel()->Visible());
    EXPECT_EQ(wPanel()->duration, 0);
    expectItem("AdjustHidePanel", true, true);
    expectItem("AdjustShowPanel", false, false);

    int64_t shownThrough = 0;
    ASSERT_TRUE(test::waitUntil([&] {
        if (wPanel()->Visible())
            shownThrough = wPanel()->duration;
        return !wPanel()->Visible();
    }, 3000));
    EXPECT_LE(shownThrough, 5);
    EXPECT_GE(wPanel()->duration, 6) << "hidden again on the sixth idle tick";
    expectPanelHiddenAndShowPanelOffered();
}

TEST(AnimationCommands, StopPutsTheSunAtZeroAndContinueTurnsItOnFromThere)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    ASSERT_TRUE(test::waitUntil([&] { return flag->theta > 2 * flag->omega; })) << "the sun turns";
    const int64_t period = flag->TimerFlag()->Period();

    // Launch hides both items for good, so a user meets them only when they are shown:
    // showing them lets the test choose them through the menu and their bindings.
    AdjustStopAnimation()->Visible(true);
    AdjustContinueAnimation()->Visible(true);

    ASSERT_TRUE(test::chooseMenuItem("AdjustStopAnimation"));
    EXPECT_FALSE(flag->TimerFlag()->Enabled());
    EXPECT_EQ(flag->theta, 0.0);
    const QImage stoppedFrame = flag->picBB->image().copy();
    test::processEventsFor(static_cast<int>(3 * period));
    EXPECT_EQ(flag->theta, 0.0) << "the sun stands";

    ASSERT_TRUE(test::chooseMenuItem("AdjustContinueAnimation"));
    EXPECT_TRUE(flag->TimerFlag()->Enabled());
    EXPECT_EQ(flag->TimerFlag()->Period(), period);
    ASSERT_TRUE(test::waitUntil([&] { return flag->theta != 0.0; }));
    EXPECT_DOUBLE_EQ(flag->theta, flag->omega) << "one step on from angle 0";
    ASSERT_TRUE(test::waitUntil([&] { return flag->picBB->image() != stoppedFrame; })) << "the turned sun is drawn";

    ASSERT_TRUE(test::chooseMenuItem("AdjustStopAnimation"));
    EXPECT_EQ(flag->picBB->image(), stoppedFrame) << "Stop draws the sun at angle 0 at once";
}

// Each item, chosen, runs the handler bound to its name, once: its own command follows, and no
// other's. (A handler's Boolean only says it took the command; the runtime does nothing with it.)
TEST(Commands, EachItemRunsTheHandlerBoundToItsNameOnce)
{
    test::StandInOpener opener;
    test::launchApplication();
    ASSERT_TRUE(wPanel()->Visible());
    ASSERT_TRUE(FlagSong()->IsPlaying());
    const int64_t volume = wPanel()->VolumeSlider()->Value();
    const struct {
        const char* item;
        std::function<bool()> done;
    } commands[] = {
        { "AdjustHidePanel", [] { return !wPanel()->Visible(); } },
        { "AdjustShowPanel", [] { return wPanel()->Visible(); } },
        { "AdjustMusicOff", [] { return !FlagSong()->IsPlaying(); } },
        { "AdjustMusicOn", [] { return FlagSong()->IsPlaying(); } },
        { "AdjustLoop", [] { return AdjustLoop()->Checked(); } },
        { "AdjustVolDec", [&] { return wPanel()->VolumeSlider()->Value() == volume - 10; } },
        { "AdjustVolInc", [&] { return wPanel()->VolumeSlider()->Value() == volume; } },
        { "AdjustStopAnimation", [] { return !wFlag()->TimerFlag()->Enabled(); } },
        { "AdjustContinueAnimation", [] { return wFlag()->TimerFlag()->Enabled(); } },
        { "AboutThissoftware", [] {
              Ref<Window> about = RuntimeGetImplicitWindow("wAbout.wAbout");
              return about && about->Visible();
          } },
        { "AboutVisitWebSite", [&] { return opener.nextArgument() == kMakerWebAddress; } },
        { "AboutMailtoAuthor", [&] { return opener.nextArgument().starts_with(std::string("mailto:") + kAuthorMailAddress); } },
        { "FileQuit", [] { return RuntimeQuitRequested(); } },
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.item);
        // As the runtime delivers a chosen item, also one that is hidden now.
        ASSERT_TRUE(App()->menuItemChosen(command.item));
        EXPECT_TRUE(command.done());
    }
}

TEST(ApplicationActivate, ALaterActivationHidesThePanelAndLeavesTheItems)
{
    test::launchApplication();
    test::processEventsFor(100);
    ASSERT_TRUE(wPanel()->Visible());

    // Qt's offscreen platform has no other application to switch to and so never reports the
    // application inactive; announce the user's switch away and back as Qt does.
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);

    EXPECT_TRUE(test::waitUntil([] { return !wPanel()->Visible(); }, 1000));
    expectItem("AdjustShowPanel", true, true);
    expectItem("AdjustHidePanel", false);
}

} // namespace
