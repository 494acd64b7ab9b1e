#include "scene/FlagTestSupport.h"

#include "FlagSong.h"
#include "SceneConstants.h"

#include <QEnterEvent>

#include <gtest/gtest.h>

namespace {

// Idle ticks every 40 ms from now on instead of every second, the count kept. A new period
// takes effect from the next tick; stopping and starting the timer brings that tick at once.
void quickenIdleTicks()
{
    Ref<Timer> idle = wPanel()->IdleTimer();
    idle->Period(40);
    idle->Enabled(false);
    idle->Enabled(true);
}

// Waits for the idle count to reach `count`; false if the deadline passed or it went past.
bool idleCountReaches(int64_t count)
{
    bool reached = test::waitUntil([&] { return wPanel()->duration >= count; }, 1000);
    return reached && wPanel()->duration == count;
}

void expectPanelItems(bool panelShown, const std::string& what)
{
    EXPECT_EQ(test::offered("AdjustHidePanel"), panelShown) << what;
    EXPECT_EQ(test::withdrawn("AdjustShowPanel"), panelShown) << what;
    EXPECT_EQ(test::offered("AdjustShowPanel"), !panelShown) << what;
    EXPECT_EQ(test::withdrawn("AdjustHidePanel"), !panelShown) << what;
}

void enterPanel()
{
    QWidget* widget = wPanel()->qtWidget();
    QEnterEvent enter(QPointF(50, 50), QPointF(50, 50), widget->mapToGlobal(QPointF(50, 50)));
    QCoreApplication::sendEvent(widget, &enter);
}

void leavePanel()
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(wPanel()->qtWidget(), &leave);
}

// Left alone from launch, the panel hides itself on the sixth tick of its idle timer.
TEST(PanelIdle, ThePanelShownAtLaunchHidesItselfOnTheSixthIdleTick)
{
    test::launchApplication();
    Ref<class wPanel> panel = wPanel();
    EXPECT_TRUE(panel->Visible());
    quickenIdleTicks();
    for (int64_t tick = 1; tick <= 5; ++tick) {
        ASSERT_TRUE(idleCountReaches(tick)) << "tick " << tick;
        EXPECT_TRUE(panel->Visible()) << "tick " << tick;
    }
    ASSERT_TRUE(idleCountReaches(6));
    EXPECT_FALSE(panel->Visible());
    EXPECT_TRUE(test::offered("AdjustShowPanel"));
    EXPECT_TRUE(test::withdrawn("AdjustHidePanel"));
}

TEST(PanelIdle, TheIdleHideSwapsTheItemsAndShowPanelStartsTheCountAgain)
{
    test::launchApplication();
    Ref<class wPanel> panel = wPanel();
    panel->Hide();
    ASSERT_TRUE(test::chooseMenuItem("AdjustShowPanel"));
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(panel->duration, 0);
    expectPanelItems(true, "after Show Panel");

    quickenIdleTicks();
    ASSERT_TRUE(idleCountReaches(5));
    EXPECT_TRUE(panel->Visible());
    expectPanelItems(true, "after five ticks");
    ASSERT_TRUE(idleCountReaches(6));
    EXPECT_FALSE(panel->Visible());
    expectPanelItems(false, "after the sixth tick");

    // Later ticks hide the hidden panel again and leave the items as the sixth did.
    ASSERT_TRUE(idleCountReaches(8));
    EXPECT_FALSE(panel->Visible());
    expectPanelItems(false, "after the eighth tick");

    ASSERT_TRUE(test::chooseMenuItem("AdjustShowPanel"));
    EXPECT_TRUE(panel->Visible());
    expectPanelItems(true, "after Show Panel again");
    ASSERT_TRUE(idleCountReaches(5));
    EXPECT_TRUE(panel->Visible()) << "the count started again from 0";
    ASSERT_TRUE(idleCountReaches(6));
    EXPECT_FALSE(panel->Visible());
}

TEST(PanelIdle, ThePanelUnderThePointerNeverHidesItself)
{
    test::launchApplication();
    Ref<class wPanel> panel = wPanel();
    quickenIdleTicks();
    ASSERT_TRUE(idleCountReaches(3));

    enterPanel();
    int64_t held = panel->duration;
    EXPECT_FALSE(panel->IdleTimer()->Enabled());
    test::processEventsFor(200);
    EXPECT_TRUE(panel->Visible()) << "five idle periods under the pointer";
    EXPECT_EQ(panel->duration, held) << "the count is suspended, not reset";

    leavePanel();
    EXPECT_EQ(panel->duration, 0) << "leaving starts the count again";
    ASSERT_TRUE(idleCountReaches(5));
    EXPECT_TRUE(panel->Visible());
    ASSERT_TRUE(idleCountReaches(6));
    EXPECT_FALSE(panel->Visible());
}

// Only the pointer and the commands that bring the panel up touch the idle count: a press
// outside the canton while the panel is shown, the application's activation and "Hide Panel"
// (both of which hide it) leave the count going on where it was.
TEST(PanelIdle, PressesOutsideTheCantonActivationAndHidePanelLeaveTheCountAlone)
{
    test::launchApplication();
    Ref<class wPanel> panel = wPanel();
    ASSERT_FALSE(test::pressOnFlag({ 150, 100 })) << "a press in the canton brings the panel up";
    ASSERT_TRUE(test::offered("AdjustHidePanel"));
    quickenIdleTicks();
    struct Action {
        const char* what;
        std::function<void()> take;
    };
    const Action actions[] = {
        { "a press outside the canton", [&] {
             ASSERT_TRUE(panel->Visible());
             test::pressOnFlag({ 500, 300 });
         } },
        { "the application's activation", [&] {
             ASSERT_TRUE(panel->Visible());
             // As in the activation tests: the offscreen platform never switches away by itself.
             Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
             Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
             ASSERT_TRUE(test::waitUntil([&] { return !panel->Visible(); }, 1000));
         } },
        { "Hide Panel", [] { ASSERT_TRUE(test::chooseMenuItem("AdjustHidePanel")); } },
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.what);
        const int64_t before = panel->duration;
        ASSERT_TRUE(test::waitUntil([&] { return panel->duration > before; }, 1000));
        const int64_t held = panel->duration;
        action.take();
        EXPECT_GE(panel->duration, held) << "the count was not started again";
        EXPECT_TRUE(panel->IdleTimer()->Enabled());
        EXPECT_TRUE(test::waitUntil([&] { return panel->duration > held; }, 1000)) << "the count goes on";
    }
}

// QWindow::isActive already holds for the panel while the flag window, its transient parent,
// is active, so the wait is on the application's active window.
bool becomesActive(QWidget* window)
{
    return test::waitUntil([&] { return QApplication::activeWindow() == window; }, 2000);
}

// Activated, the panel moves to three fifths of the flag's width and height, in screen
// coordinates, wherever the flag window stands.
TEST(PanelActivation, ActivatingThePanelPlacesItAtThreeFifthsOfTheFlag)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    Ref<class wPanel> panel = wPanel();
    flag->Left(300);
    flag->Top(200);
    struct Row {
        int flagWidth;
        QPoint panelAt;
    };
    const Row rows[] = {
        { 720, { 432, 288 } },
        { 900, { 540, 360 } },
        { 1440, { 864, 576 } },
    };
    for (const Row& row : rows) {
        flag->ChangeSize(row.flagWidth);
        flag->qtWidget()->activateWindow();
        ASSERT_TRUE(becomesActive(flag->qtWidget()));
        panel->Left(20);
        panel->Top(30);

        panel->qtWidget()->windowHandle()->requestActivate();
        ASSERT_TRUE(becomesActive(panel->qtWidget())) << "flag width " << row.flagWidth;

        EXPECT_EQ(panel->qtWidget()->pos(), row.panelAt) << "flag width " << row.flagWidth;
        EXPECT_TRUE(panel->Visible());
    }
}

// The user presses the canton, the panel comes up at the press, the user clicks into it.
TEST(PanelActivation, APanelBroughtUpByAPressIsPlacedWhenActivated)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    Ref<class wPanel> panel = wPanel();
    for (int round = 1; round <= 2; ++round) {
        panel->Hide();
        QTest::mousePress(flag->cnvGround()->widget(), Qt::LeftButton, {}, QPoint(150, 100));
        QTest::mouseRelease(flag->cnvGround()->widget(), Qt::LeftButton, {}, QPoint(150, 100));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->qtWidget()));
        test::processEventsFor(50);
        EXPECT_EQ(panel->qtWidget()->pos(), QPoint(39, 32)) << "round " << round << ": where it was pressed";

        panel->qtWidget()->windowHandle()->requestActivate();
        ASSERT_TRUE(becomesActive(panel->qtWidget())) << "round " << round;
        EXPECT_EQ(panel->qtWidget()->pos(), QPoint(432, 288)) << "round " << round;
        flag->qtWidget()->activateWindow();
        ASSERT_TRUE(becomesActive(flag->qtWidget())) << "round " << round;
    }
}

TEST(PanelActivation, ShowingThePanelDoesNotActivateIt)
{
    test::launchApplication();
    Ref<class wPanel> panel = wPanel();
    panel->Hide();
    panel->Left(20);
    panel->Top(30);
    ASSERT_TRUE(test::chooseMenuItem("AdjustShowPanel"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->qtWidget()));
    test::processEventsFor(50);
    EXPECT_EQ(panel->qtWidget()->pos(), QPoint(20, 30));
    EXPECT_NE(QApplication::activeWindow(), panel->qtWidget());
}

TEST(PanelControls, TheVolumeSliderSetsTheSongsVolume)
{
    test::launchApplication();
    Ref<Slider> volume = wPanel()->VolumeSlider();
    for (int value : { 0, 100, 55, 1 }) {
        test::moveSlider(volume, value);
        EXPECT_EQ(FlagSong()->Volume(), value);
    }
    QTest::keyClick(volume->widget(), Qt::Key_PageUp);
    EXPECT_EQ(volume->Value(), 11);
    EXPECT_EQ(FlagSong()->Volume(), 11) << "a page up the Volume slider";
    EXPECT_TRUE(FlagSong()->IsPlaying());
}

TEST(PanelControls, TheSizeSliderResizesTheFlag)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    Ref<Slider> size = wPanel()->SizeSlider();
    struct Step {
        Qt::Key key;
        int64_t width;
    };
    const Step steps[] = { { Qt::Key_Right, 750 }, { Qt::Key_PageUp, 840 }, { Qt::Key_Left, 810 }, { Qt::Key_PageDown, 720 } };
    for (const Step& step : steps) {
        QTest::keyClick(size->widget(), step.key);
        EXPECT_EQ(flag->Width(), step.width);
        EXPECT_EQ(flag->Height(), step.width * 2 / 3);
        EXPECT_EQ(flag->cnvGround()->Width(), step.width);
        EXPECT_EQ(size->Value(), step.width);
    }
    // A value off the 30-pixel grid is snapped and written back into the slider.
    test::moveSlider(size, 1000);
    EXPECT_EQ(flag->Width(), 990);
    EXPECT_EQ(flag->cnvGround()->Width(), 990);
    EXPECT_EQ(size->Value(), 990);
    EXPECT_EQ(static_cast<QSlider*>(size->widget())->value(), 990);
}

// The slider's value reaches ChangeSize as it stands, which snaps it down to the 30-pixel grid:
// values a rounding would take up come out the same as the others.
TEST(PanelControls, TheSizeSlidersValueIsSnappedDownNotRounded)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    Ref<Slider> size = wPanel()->SizeSlider();
    const std::pair<int, int64_t> moves[] = { { 1019, 990 }, { 1005, 990 }, { 749, 720 }, { 1111, 1110 } };
    for (const auto& [value, width] : moves) {
        test::moveSlider(size, value);
        EXPECT_EQ(flag->cnvGround()->Width(), width) << value;
        EXPECT_EQ(size->Value(), width) << value;
    }
}

// Whatever the animation timer's state, a move of the Speed slider leaves it running,
// repeating, at the period of the new speed; the step per tick stays.
TEST(PanelControls, MovingTheSpeedSliderRestartsTheSunAtTheNewPeriod)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    Ref<Timer> timer = flag->TimerFlag();
    Ref<Slider> speed = wPanel()->SpeedSlider();
    struct Row {
        bool enabled;
        int64_t mode;
        int speed;
        int64_t period;
    };
    const Row rows[] = {
        { false, Timer::kRepeating, 6, 45 },
        { true, Timer::kOff, 1, 270 },
        { false, Timer::kSingle, 5, 54 },
        { true, Timer::kRepeating, 2, 135 },
    };
    double omega = flag->omega;
    for (const Row& row : rows) {
        timer->Enabled(row.enabled);
        timer->Mode(row.mode);
        test::moveSlider(speed, row.speed);
        EXPECT_TRUE(timer->Enabled()) << "speed " << row.speed;
        EXPECT_EQ(timer->Mode(), kTimerRepeating) << "speed " << row.speed;
        EXPECT_EQ(timer->Period(), row.period) << "speed " << row.speed;
        EXPECT_EQ(flag->omega, omega) << "speed " << row.speed;
    }
    QTest::keyClick(speed->widget(), Qt::Key_Right);
    EXPECT_EQ(speed->Value(), 3);
    EXPECT_EQ(timer->Period(), 90) << "an arrow key on the Speed slider";
    double before = flag->theta;
    EXPECT_TRUE(test::waitUntil([&] { return flag->theta != before; }, 1000)) << "the sun turns";
}

// The Glory box has no handler: a click changes the box, and the next frame shows it.
TEST(PanelControls, ClickingTheGloryBoxChangesOnlyTheBoxAndTheNextFrame)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    Ref<class wPanel> panel = wPanel();
    // A point of the field between two sectors at any angle of the sun is lighter with Glory on.
    auto lightened = [&] {
        const QImage& frame = flag->picBB->image();
        bool any = false;
        for (double angle : { 0.0, 20.0, 40.0 })
            any = any || test::lighterThan(test::pixel(frame, test::polar(180, 120, angle, 400)), test::kRed);
        return any;
    };
    struct Snapshot {
        int64_t width, height, period, volume;
        bool timerEnabled, playing, music, loop, panelShown, hideOffered, showOffered;
        QPoint panelAt;
        bool operator==(const Snapshot&) const = default;
    };
    auto snapshot = [&] {
        return Snapshot { flag->Width(), flag->Height(), flag->TimerFlag()->Period(), FlagSong()->Volume(),
                          flag->TimerFlag()->Enabled(), FlagSong()->IsPlaying(), panel->CheckBoxM()->Value(),
                          panel->CheckBoxLoop()->Value(), panel->Visible(), test::offered("AdjustHidePanel"),
                          test::offered("AdjustShowPanel"), panel->qtWidget()->pos() };
    };
    ASSERT_FALSE(lightened());
    Snapshot before = snapshot();

    test::click(panel->CheckBoxGlory());
    EXPECT_TRUE(panel->CheckBoxGlory()->Value());
    EXPECT_TRUE(snapshot() == before);
    EXPECT_FALSE(lightened()) << "the click draws nothing itself";
    EXPECT_TRUE(test::waitUntil(lightened, 1000)) << "the next frame shows the glory";

    test::click(panel->CheckBoxGlory());
    EXPECT_FALSE(panel->CheckBoxGlory()->Value());
    EXPECT_TRUE(test::waitUntil([&] { return !lightened(); }, 1000)) << "the next frame shows the flag alone";
    EXPECT_TRUE(snapshot() == before);
}

// The close box hides the panel; "Show Panel" brings back the same panel with its settings.
TEST(PanelWindow, TheCloseBoxHidesThePanelAndKeepsIt)
{
    test::launchApplication();
    Ref<class wPanel> panel = wPanel();
    test::moveSlider(panel->VolumeSlider(), 70);
    bool hideOffered = test::offered("AdjustHidePanel");
    bool showOffered = test::offered("AdjustShowPanel");
    bool idleRuns = panel->IdleTimer()->Enabled();

    panel->qtWidget()->close();
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(test::offered("AdjustHidePanel"), hideOffered);
    EXPECT_EQ(test::offered("AdjustShowPanel"), showOffered);
    EXPECT_EQ(panel->IdleTimer()->Enabled(), idleRuns);

    ASSERT_TRUE(test::chooseMenuItem("AdjustShowPanel"));
    EXPECT_EQ(wPanel(), panel);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(panel->VolumeSlider()->Value(), 70);
    EXPECT_EQ(panel->SpeedSlider()->Value(), 4);
}

} // namespace
