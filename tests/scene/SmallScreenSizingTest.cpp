#include "scene/FlagTestSupport.h"

#include "system/Screen.h"

#include <gtest/gtest.h>

// The main screen here is 1445 x 900: the window's height is capped at 850, and the Size
// slider, which launch bounds by the screen's width less 20, reaches 1425.
namespace {

TEST(SmallScreenSizing, TheWindowsHeightIsCappedAndTheFlagKeepsItsShape)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    ASSERT_EQ(Screen(0)->Height(), 900);

    // With the Size slider able to hold it, the width is taken as given.
    wPanel()->SizeSlider()->MaximumValue(1500);
    flag->ChangeSize(1500);
    test::processEventsFor(30);
    EXPECT_EQ(flag->Width(), 1500);
    EXPECT_EQ(flag->Height(), 850) << "1000 lowered to the screen's height less 50";
    EXPECT_EQ(flag->cnvGround()->Width(), 1500);
    EXPECT_EQ(flag->cnvGround()->Height(), 1000) << "the flag is not capped: its foot lies out of view";
    EXPECT_EQ(flag->cnvGround()->Left(), 0);
    EXPECT_EQ(flag->cnvSky()->Width(), 750);
    EXPECT_EQ(flag->cnvSky()->Height(), 500);
    EXPECT_EQ(wPanel()->SizeSlider()->Value(), 1500);
    EXPECT_DOUBLE_EQ(flag->ArcRatio, 0.72);

    // The frame's pictures have the screen's size: the flag shows up to their edge.
    QImage shown = flag->cnvGround()->widget()->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(1500, 1000));
    EXPECT_EQ(shown.pixel(1440, 890), test::kRed);
    EXPECT_EQ(shown.pixel(700, 400), test::kBlue);
}

// As launched, a width beyond the Size slider's range comes back from the slider at its
// maximum and the flag is laid out for that: window, flag and slider still agree.
TEST(SmallScreenSizing, AWidthBeyondTheSizeSettingsRangeEndsWithinIt)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    ASSERT_EQ(wPanel()->SizeSlider()->MaximumValue(), 1425);
    flag->ChangeSize(1500);
    test::processEventsFor(30);
    int64_t width = flag->cnvGround()->Width();
    EXPECT_EQ(width, 1410) << "1425 snapped";
    EXPECT_EQ(flag->Width(), width);
    EXPECT_EQ(flag->Height(), 850);
    EXPECT_EQ(flag->cnvGround()->Height(), width * 2 / 3);
    EXPECT_EQ(wPanel()->SizeSlider()->Value(), width);
    EXPECT_DOUBLE_EQ(flag->ArcRatio, 720.0 / width * 1.5);
}

// A maximized window keeps the size the system gave it; the flag is snapped inside it and
// centred with the smaller half of the margin on the left. The Resized after the maximize
// changes nothing; a later resize snaps the window again.
TEST(SmallScreenSizing, AMaximizedWindowKeepsItsSizeUntilTheNextResize)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    QWidget* window = flag->qtWidget();

    window->showMaximized();
    ASSERT_TRUE(test::waitUntil([&] { return flag->Width() == 1445; }, 2000));
    auto expectMaximizedLayout = [&](const char* when) {
        EXPECT_EQ(flag->Width(), 1445) << when;
        EXPECT_EQ(window->width(), 1445) << when;
        EXPECT_EQ(flag->cnvGround()->Width(), 1440) << when;
        EXPECT_EQ(flag->cnvGround()->Height(), 960) << when;
        EXPECT_EQ(flag->cnvGround()->Left(), 2) << when << ": a margin of 5 split as 2 and 3";
        EXPECT_EQ(flag->cnvGround()->Top(), 0) << when;
        EXPECT_EQ(flag->cnvGround()->widget()->geometry(), QRect(2, 0, 1440, 960)) << when;
        EXPECT_EQ(flag->cnvSky()->Width(), 720) << when;
        EXPECT_EQ(flag->cnvSky()->Height(), 480) << when;
        EXPECT_DOUBLE_EQ(flag->ArcRatio, 0.75) << when;
        // The flag's width lies beyond the Size slider's range; it shows its maximum.
        EXPECT_EQ(wPanel()->SizeSlider()->Value(), 1425) << when;
    };
    expectMaximizedLayout("at the maximize");
    int64_t maximizedHeight = flag->Height();
    EXPECT_LT(maximizedHeight, 960) << "the flag's foot lies below the window";

    ASSERT_TRUE(test::waitUntil([&] { return !flag->JustMaxSize; }, 1000)) << "the Resized that follows";
    test::processEventsFor(300);
    expectMaximizedLayout("after the Resized that follows");
    EXPECT_EQ(flag->Height(), maximizedHeight);

    window->showNormal();
    ASSERT_TRUE(test::waitUntil([&] { return flag->Width() < 1445; }, 2000));
    const int menuBar = window->height() - static_cast<int>(flag->Height());
    window->resize(1001, 700 + menuBar);
    ASSERT_TRUE(test::waitUntil([&] { return flag->Width() == 990; }, 1000));
    test::processEventsFor(300);
    EXPECT_EQ(flag->Width(), 990);
    EXPECT_EQ(flag->Height(), 660);
    EXPECT_EQ(flag->cnvGround()->Width(), 990);
    EXPECT_EQ(flag->cnvGround()->Left(), 0);
    EXPECT_EQ(wPanel()->SizeSlider()->Value(), 990);
}

} // namespace
