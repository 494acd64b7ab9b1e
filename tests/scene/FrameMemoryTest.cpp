#include "FlagTestSupport.h"

#include "drawing/private/ColdRows.h"
#include "drawing/private/PictureRecord.h"

#include <gtest/gtest.h>

// A flag maximized and restored gives back, once the old flag's rows have been left alone a
// while, the memory that only the larger flag needed.

namespace {

TEST(FrameMemory, ARestoredFlagHoldsWhatAFlagThatNeverGrewHolds)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(flag->qtWidget()));
    wPanel()->CheckBoxGlory()->Value(true);
    const int64_t launchWidth = flag->cnvGround()->Width();
    Picture* pictures[] = { flag->picBuffer.raw(), flag->picMask.raw(), flag->picBB.raw() };
    const char* names[] = { "buffer", "mask", "back buffer" };
    // Read through no row, so that none is brought back.
    const auto resident = [&](int p) {
        const QImage& image = pictures[p]->imageRows(0, 0);
        return test::residentBytes(image.constBits(), static_cast<size_t>(image.sizeInBytes()));
    };
    const auto ticks = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const int64_t drawn = flag->picBB->record().version();
            flag->TimerFlag_Action(flag->TimerFlag());
            ASSERT_TRUE(test::waitUntil([&] { return flag->picBB->record().version() != drawn; })) << "tick " << i;
        }
    };
    const auto changeSize = [&](int64_t width) {
        flag->ChangeSize(width);
        flag->TimerFlag()->Enabled(false);
        // The window's Resized comes back as a ChangeSize of its own, which sets the timer going again.
        ASSERT_TRUE(test::waitUntil([&] { return flag->TimerFlag()->Enabled(); }));
        flag->TimerFlag()->Enabled(false);
        ASSERT_EQ(flag->cnvGround()->Width(), width);
    };

    const int whileLeftAlone = 2 * ColdRows::kIdleFrames;
    size_t neverGrown[3], grown[3];
    changeSize(launchWidth);
    ticks(whileLeftAlone);
    for (int p = 0; p < 3; ++p)
        neverGrown[p] = resident(p);
    changeSize(1890);
    ticks(5);
    for (int p = 0; p < 3; ++p)
        grown[p] = resident(p);
    changeSize(launchWidth);
    ticks(whileLeftAlone);
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(names[p]);
        EXPECT_GT(grown[p], neverGrown[p]) << "the maximized flag took more";
        // Memory is given back in whole bands. The sectors' rims go on darkening what the old
        // flag left beyond the ground for a while (a few hundred ticks), so the band they reach
        // is still read; the rows below it are not.
        EXPECT_LE(resident(p), neverGrown[p] + ColdRows::kBandBytes);
    }

    // And the old rows read back as they were: beyond the ground the maximized frame still shows.
    const QImage& back = flag->picBB->image();
    const double ratio = back.devicePixelRatio();
    EXPECT_EQ(back.pixel(static_cast<int>(1800 * ratio), static_cast<int>(1000 * ratio)) & 0xFF000000u, 0xFF000000u);
}

} // namespace
