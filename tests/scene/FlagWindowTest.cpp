#include "FlagTestSupport.h"

#include "FlagSong.h"
#include "SceneConstants.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FlagWindow, OpensAtTheSizeSettingWithTheSunTurningAndThePanelShown)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    EXPECT_EQ(wFlag(), flag) << "a second reference finds the open window";
    EXPECT_EQ(flag->Title(), "Beautiful!   Flag of Tarnia");
    EXPECT_EQ(flag->Width(), 720);
    EXPECT_EQ(flag->Height(), 480);
    EXPECT_EQ(flag->cnvGround()->Width(), 720);
    EXPECT_EQ(flag->cnvGround()->Height(), 480);
    EXPECT_EQ(flag->cnvSky()->Width(), 360);
    EXPECT_EQ(flag->cnvSky()->Height(), 240);
    EXPECT_FALSE(flag->cnvSky()->Visible());
    EXPECT_DOUBLE_EQ(flag->ArcRatio, 1.5);
    EXPECT_DOUBLE_EQ(flag->omega, kOneDegree * 1.5);
    EXPECT_TRUE(flag->TimerFlag()->Enabled());
    EXPECT_EQ(flag->TimerFlag()->Mode(), kTimerRepeating);
    EXPECT_EQ(flag->TimerFlag()->Period(), 67);
    EXPECT_TRUE(wPanel()->Visible());
    EXPECT_EQ(wPanel()->VolumeSlider()->Value(), 25);
    EXPECT_EQ(wPanel()->SpeedSlider()->Value(), 4);

    double before = flag->theta;
    ASSERT_TRUE(test::waitUntil([&] { return flag->theta != before; }, 1000)) << "the sun turns";
}

TEST(FlagWindow, ShowsTheWholeFlagUnderTheMenuBar)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    QWidget* ground = flag->cnvGround()->widget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(flag->qtWidget()));

    EXPECT_EQ(ground->size(), QSize(720, 480));
    EXPECT_EQ(flag->contentWidget()->size(), QSize(720, 480));
    EXPECT_EQ(ground->mapTo(flag->contentWidget(), QPoint(0, 0)), QPoint(0, 0));
    QImage shown = ground->grab().toImage();
    EXPECT_EQ(test::pixel(shown, QPoint(20, 20)), test::kBlue) << "the canton at the top-left";
    EXPECT_EQ(test::pixel(shown, QPoint(710, 470)), test::kRed) << "the field down to the bottom-right corner";
}

// The step is measured on the frames the ground canvas shows, so both the angle and the
// direction on screen are checked.
TEST(FlagWindow, TheSunTurnsClockwiseByOneAndAHalfDegreesATick)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    QWidget* ground = flag->cnvGround()->widget();

    auto degrees = [&] { return flag->theta * 180.0 / kPi; };
    double first = flag->theta;
    ASSERT_TRUE(test::waitUntil([&] { return flag->theta != first; }, 1000));
    double second = flag->theta;
    ASSERT_TRUE(test::waitUntil([&] { return flag->theta != second; }, 1000));
    EXPECT_NEAR((flag->theta - second) * 180.0 / kPi, 1.5, 1e-9);

    // A few ticks on the star's points lie between 4 and 11 degrees past each 30: clockwise they
    // are below the horizontal through the sun's centre, counter-clockwise above it.
    ASSERT_TRUE(test::waitUntil([&] { double d = std::fmod(degrees(), 30.0); return d >= 4.0 && d <= 11.0; }, 2000));
    QImage shown = ground->grab().toImage();
    double turned = degrees();
    for (int point = 0; point < 12; ++point) {
        double angle = point * 30.0;
        EXPECT_EQ(test::pixel(shown, test::polar(180, 120, angle + turned, 72)), test::kWhite) << "point at " << angle;
        EXPECT_EQ(test::pixel(shown, test::polar(180, 120, angle - turned, 72)), test::kBlue) << "point at " << angle;
    }
}

// The angle stays within one turn: past it, the next tick carries on from the excess.
TEST(FlagWindow, TheSunsAngleWrapsAfterAFullTurn)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    double step = flag->omega;
    flag->theta = kOneTurn - step / 4;
    ASSERT_TRUE(test::waitUntil([&] { return flag->theta < kOneTurn - step; }, 1000));
    EXPECT_NEAR(flag->theta, step * 3 / 4, 1e-12);
    double wrapped = flag->theta;
    ASSERT_TRUE(test::waitUntil([&] { return flag->theta != wrapped; }, 1000));
    EXPECT_NEAR(flag->theta, wrapped + step, 1e-12);
}

// Only an angle past one turn wraps: one that reaches the turn exactly stays there for that
// tick and wraps on the next.
TEST(FlagWindow, AnAngleThatReachesExactlyOneTurnWrapsOnTheNextTick)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    const double step = flag->omega;
    double start = kOneTurn - step;
    while (start + step < kOneTurn)
        start = std::nextafter(start, kOneTurn);
    while (start + step > kOneTurn)
        start = std::nextafter(start, 0.0);
    ASSERT_EQ(start + step, kOneTurn);
    // Ticks one at a time: under load the timer can fire twice between two looks at the angle.
    Ref<Timer> timer = flag->TimerFlag();
    timer->Enabled(false);
    flag->theta = start;
    flag->TimerFlag_Action(timer);
    EXPECT_EQ(flag->theta, kOneTurn) << "no wrap at exactly one turn";
    flag->TimerFlag_Action(timer);
    EXPECT_NEAR(flag->theta, step, 1e-12);
}

TEST(FlagWindow, TheSongPlaysFromLaunchAtVolume25)
{
    test::launchApplication();
    Ref<Sound> song = FlagSong();
    ASSERT_TRUE(song);
    EXPECT_TRUE(song->IsPlaying());
    EXPECT_FALSE(song->isLooping()) << "the Loop box is clear at launch";
    EXPECT_EQ(song->Volume(), 25);
    EXPECT_TRUE(wPanel()->CheckBoxM()->Value());
    EXPECT_TRUE(test::offered("AdjustMusicOff"));
    EXPECT_TRUE(test::withdrawn("AdjustMusicOn"));
}

} // namespace
