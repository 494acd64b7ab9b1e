#include "AppTestSupport.h"

#include "SceneConstants.h"

#include <gtest/gtest.h>

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

} // namespace
