#include "FlagTestSupport.h"

#include "SceneConstants.h"

#include <gtest/gtest.h>

namespace {

struct Layout {
    int64_t windowWidth, windowHeight;
    int64_t groundWidth, groundHeight, groundLeft;
    int64_t cantonWidth, cantonHeight;
    int64_t sizeSetting;
};

Layout layoutOf(class wFlag& flag)
{
    return { flag.Width(), flag.Height(), flag.cnvGround()->Width(), flag.cnvGround()->Height(), flag.cnvGround()->Left(),
             flag.cnvSky()->Width(), flag.cnvSky()->Height(), wPanel()->SizeSlider()->Value() };
}

void expectLayout(class wFlag& flag, const Layout& expected, const std::string& what)
{
    Layout actual = layoutOf(flag);
    EXPECT_EQ(actual.windowWidth, expected.windowWidth) << what;
    EXPECT_EQ(actual.windowHeight, expected.windowHeight) << what;
    EXPECT_EQ(actual.groundWidth, expected.groundWidth) << what;
    EXPECT_EQ(actual.groundHeight, expected.groundHeight) << what;
    EXPECT_EQ(actual.groundLeft, expected.groundLeft) << what;
    EXPECT_EQ(actual.cantonWidth, expected.cantonWidth) << what;
    EXPECT_EQ(actual.cantonHeight, expected.cantonHeight) << what;
    EXPECT_EQ(actual.sizeSetting, expected.sizeSetting) << what;
    EXPECT_EQ(flag.cnvGround()->Top(), 0) << what;
    EXPECT_EQ(flag.cnvSky()->Left(), flag.cnvGround()->Left()) << what;
    EXPECT_EQ(flag.cnvSky()->Top(), 0) << what;
}

// The Resized event that a size set from code posts comes back as a ChangeSize of its own.
void letEchoesRun()
{
    test::processEventsFor(30);
}

// Moving the Size and the Speed sliders sets the animation's period: a wider flag turns the
// sun by a smaller step, more often, so its speed depends on the Speed setting alone.
TEST(FlagSizing, ThePeriodFollowsTheFlagWidthAndTheSpeedSetting)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    struct Row {
        int width;
        int64_t periods[6];
    };
    const Row rows[] = {
        { 180, { 1080, 540, 360, 270, 216, 180 } },
        { 360, { 540, 270, 180, 135, 108, 90 } },
        // 720.0 / 600 * 1.5 comes out just below 1.8.
        { 600, { 323, 161, 107, 80, 64, 53 } },
        { 720, { 270, 135, 90, 67, 54, 45 } },
        { 1080, { 180, 90, 60, 45, 36, 30 } },
        { 1200, { 161, 80, 53, 40, 32, 26 } },
        { 1440, { 135, 67, 45, 33, 27, 22 } },
    };
    for (const Row& row : rows) {
        test::moveSlider(wPanel()->SizeSlider(), row.width);
        ASSERT_EQ(flag->cnvGround()->Width(), row.width);
        for (int speed = 1; speed <= 6; ++speed) {
            test::moveSlider(wPanel()->SpeedSlider(), speed);
            EXPECT_EQ(flag->TimerFlag()->Period(), row.periods[speed - 1]) << "width " << row.width << ", speed " << speed;
        }
        letEchoesRun();
        EXPECT_EQ(flag->TimerFlag()->Period(), row.periods[5]) << "width " << row.width << " after the resize's echo";
        EXPECT_DOUBLE_EQ(flag->omega, kOneDegree * (720.0 / row.width) * 1.5) << "width " << row.width;
    }
}

// With the window's own lower bounds lifted, the snapped width itself shows.
TEST(FlagSizing, ChangeSizeSnapsToAMultipleOf30NoLessThan60)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    flag->MinimumWidth(0);
    flag->MinimumHeight(0);
    wPanel()->SizeSlider()->MinimumValue(0);
    struct Row {
        int64_t newWidth;
        int64_t snapped;
    };
    const Row rows[] = {
        { -45, 60 }, { 0, 60 }, { 59, 60 }, { 60, 60 }, { 61, 60 }, { 89, 60 }, { 90, 90 },
        { 719, 690 }, { 720, 720 }, { 721, 720 },
    };
    for (const Row& row : rows) {
        flag->ChangeSize(row.newWidth);
        letEchoesRun();
        int64_t w = row.snapped;
        expectLayout(*flag, { w, w * 2 / 3, w, w * 2 / 3, 0, w / 2, w / 3, w }, "new width " + std::to_string(row.newWidth));
    }
}

TEST(FlagSizing, ChangeSizeLaysOutTheWindowTheFlagAndTheCanton)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    struct Row {
        int64_t newWidth;
        Layout layout;
        double arcRatio;
    };
    // Below its design minimum of 180 x 120 the window stays 180 x 120, and the flag with it.
    const Row rows[] = {
        { 720, { 720, 480, 720, 480, 0, 360, 240, 720 }, 1.5 },
        { 721, { 720, 480, 720, 480, 0, 360, 240, 720 }, 1.5 },
        { 719, { 690, 460, 690, 460, 0, 345, 230, 690 }, (720.0 / 690) * 1.5 },
        { 59, { 180, 120, 180, 120, 0, 90, 60, 180 }, 6 },
        { 60, { 180, 120, 180, 120, 0, 90, 60, 180 }, 6 },
        { 61, { 180, 120, 180, 120, 0, 90, 60, 180 }, 6 },
        { 1440, { 1440, 960, 1440, 960, 0, 720, 480, 1440 }, 0.75 },
    };
    for (const Row& row : rows) {
        std::string what = "new width " + std::to_string(row.newWidth);
        flag->ChangeSize(row.newWidth);
        expectLayout(*flag, row.layout, what);
        EXPECT_DOUBLE_EQ(flag->ArcRatio, row.arcRatio) << what;
        EXPECT_DOUBLE_EQ(flag->omega, kOneDegree * row.arcRatio) << what;
        letEchoesRun();
        expectLayout(*flag, row.layout, what + ", after the resize's echo");
        EXPECT_EQ(flag->qtWidget()->size().width(), row.layout.windowWidth) << what;
        EXPECT_EQ(flag->cnvGround()->widget()->size(), QSize(static_cast<int>(row.layout.groundWidth), static_cast<int>(row.layout.groundHeight))) << what;
    }
}

// The window system resizes the window while the user drags its edge; each step snaps it.
TEST(FlagSizing, AUserDragSnapsTheWindowAndRestartsAStoppedSun)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    QWidget* window = flag->qtWidget();
    const int menuBar = window->height() - static_cast<int>(flag->Height());
    flag->TimerFlag()->Enabled(false);

    for (int step = 1; step <= 3; ++step) {
        window->resize(720 + 95 * step, 480 + 60 * step + menuBar);
        QCoreApplication::processEvents();
    }
    expectLayout(*flag, { 990, 660, 990, 660, 0, 495, 330, 990 }, "during the drag");
    EXPECT_TRUE(flag->TimerFlag()->Enabled());
    EXPECT_EQ(flag->TimerFlag()->Mode(), kTimerRepeating);
    EXPECT_EQ(flag->TimerFlag()->Period(), 49) << "floor(720.0 / 990 * 1.5 * 45)";

    // The Resized at the drag's end finds the window snapped already.
    test::processEventsFor(300);
    expectLayout(*flag, { 990, 660, 990, 660, 0, 495, 330, 990 }, "after the drag");
    EXPECT_EQ(window->size(), QSize(990, 660 + menuBar));

    window->resize(500, 300 + menuBar);
    ASSERT_TRUE(test::waitUntil([&] { return flag->Width() == 480; }, 1000));
    test::processEventsFor(300);
    expectLayout(*flag, { 480, 320, 480, 320, 0, 240, 160, 480 }, "after a drag inwards");
    double before = flag->theta;
    EXPECT_TRUE(test::waitUntil([&] { return flag->theta != before; }, 1000)) << "the sun turns";
}

} // namespace
