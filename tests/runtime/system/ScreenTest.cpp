#include "system/Screen.h"

#include <gtest/gtest.h>

TEST(Screen, MainScreenHasItsFullGeometryAndOthersAreAbsent)
{
    // The tests run on one offscreen screen of 1920 x 1080.
    Ref<ScreenInfo> main = Screen(0);
    ASSERT_TRUE(main);
    EXPECT_EQ(main->Left(), 0);
    EXPECT_EQ(main->Top(), 0);
    EXPECT_EQ(main->Width(), 1920);
    EXPECT_EQ(main->Height(), 1080);
    EXPECT_TRUE(Screen(1).isNil());
    EXPECT_TRUE(Screen(-1).isNil());
}
