#include "FlagTestSupport.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// With the panel at its design size 222 x 135, a press toggles Glory and, in the canton (360 x
// 240 on the 720 x 480 flag, 450 x 300 on the 900 x 600 one), brings the panel up centred on
// the press (screen coordinates, kept 10 pixels from the screen's edges).
TEST(FlagPresses, EveryPressTogglesGloryAndOneInTheCantonPlacesThePanel)
{
    test::launchApplication();
    Ref<class wPanel> panel = wPanel();
    ASSERT_EQ(panel->Width(), 222);
    ASSERT_EQ(panel->Height(), 135);
    struct Row {
        int flagWidth;
        QPoint press;
        std::optional<QPoint> panelAt;
    };
    const Row rows[] = {
        { 720, { 150, 100 }, QPoint(39, 32) },
        { 720, { 359, 239 }, QPoint(248, 171) },
        { 720, { 50, 40 }, QPoint(10, 10) },
        { 720, { 200, 20 }, QPoint(89, 10) },
        { 720, { 0, 0 }, QPoint(10, 10) },
        { 720, { 360, 100 }, std::nullopt },
        { 720, { 100, 240 }, std::nullopt },
        { 720, { 500, 300 }, std::nullopt },
        { 900, { 449, 299 }, QPoint(338, 231) },
        { 900, { 400, 100 }, QPoint(289, 32) },
        { 900, { 450, 10 }, std::nullopt },
        { 900, { 10, 300 }, std::nullopt },
    };
    for (const Row& row : rows) {
        if (wFlag()->cnvGround()->Width() != row.flagWidth)
            wFlag()->ChangeSize(row.flagWidth);
        std::string what = "press at " + std::to_string(row.press.x()) + ", " + std::to_string(row.press.y()) + " on the "
            + std::to_string(row.flagWidth) + " flag";
        panel->Hide();
        panel->Left(600);
        panel->Top(600);
        bool hideOffered = test::offered("AdjustHidePanel");
        bool showOffered = test::offered("AdjustShowPanel");
        bool glory = panel->CheckBoxGlory()->Value();

        EXPECT_FALSE(test::pressOnFlag(row.press)) << what << ": the press is not claimed";

        EXPECT_EQ(panel->CheckBoxGlory()->Value(), !glory) << what;
        if (row.panelAt) {
            EXPECT_TRUE(panel->Visible()) << what;
            EXPECT_EQ(panel->qtWidget()->pos(), *row.panelAt) << what;
            EXPECT_TRUE(test::offered("AdjustHidePanel")) << what;
            EXPECT_TRUE(test::withdrawn("AdjustShowPanel")) << what;
            EXPECT_EQ(panel->duration, 0) << what << ": the idle count starts again";
            EXPECT_TRUE(panel->IdleTimer()->Enabled()) << what;
        } else {
            EXPECT_FALSE(panel->Visible()) << what;
            EXPECT_EQ(panel->qtWidget()->pos(), QPoint(600, 600)) << what;
            EXPECT_EQ(test::offered("AdjustHidePanel"), hideOffered) << what;
            EXPECT_EQ(test::offered("AdjustShowPanel"), showOffered) << what;
        }
    }
}

TEST(FlagPresses, TwoPressesLeaveGloryAsItWasAndTheFrameShowsIt)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    Ref<CheckBox> glory = wPanel()->CheckBoxGlory();
    // Three points of the field 20 degrees apart round the sun: the sectors, 30 degrees wide and
    // 60 apart, cannot cover all three at any angle of the sun.
    auto lightened = [&] {
        QImage shown = flag->cnvGround()->widget()->grab().toImage();
        bool any = false;
        for (double angle : { 0.0, 20.0, 40.0 })
            any = any || test::lighterThan(test::pixel(shown, test::polar(180, 120, angle, 400)), test::kRed);
        return any;
    };
    ASSERT_FALSE(glory->Value());
    EXPECT_FALSE(lightened());

    test::pressOnFlag({ 600, 400 });
    EXPECT_TRUE(glory->Value());
    EXPECT_TRUE(lightened());
    test::pressOnFlag({ 100, 100 });
    EXPECT_FALSE(glory->Value());
    EXPECT_FALSE(lightened());
}

} // namespace
