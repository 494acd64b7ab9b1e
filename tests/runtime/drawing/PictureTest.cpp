#include "drawing/Graphics.h"
#include "drawing/Picture.h"
#include "DrawingSupport.h"

#include <gtest/gtest.h>

#include <utility>

using test::pixelAt;

TEST(Picture, RefusesSidesOutsideTheRange)
{
    const std::pair<int64_t, int64_t> sizes[] = { { 0, 10 }, { 10, 0 }, { -1, 10 }, { 32768, 1 }, { 1, 32768 } };
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        try {
            Picture::Constructor(width, height, 32);
            ADD_FAILURE() << "no exception";
        } catch (const OutOfBoundsException& error) {
            EXPECT_STREQ(error.what(), "Width/Height needs to be in the range 1-32767");
        }
    }
}

TEST(Picture, AcceptsTheEdgesOfTheRange)
{
    EXPECT_EQ(Picture::Constructor(32767, 1, 32)->Width(), 32767);
    EXPECT_EQ(Picture::Constructor(1, 32767, 32)->Height(), 32767);
}

TEST(Picture, StartsTransparentAtItsSizeWithOneSurface)
{
    Ref<Picture> picture = Picture::Constructor(30, 20, 32);
    EXPECT_EQ(picture->Width(), 30);
    EXPECT_EQ(picture->Height(), 20);
    EXPECT_EQ(pixelAt(*picture, 15, 10), test::kTransparent);
    EXPECT_EQ(picture->Graphics(), picture->Graphics());
    EXPECT_TRUE(picture->Mask().isNil());
}

TEST(Picture, SurfaceOutlivingItsPictureRefusesToDraw)
{
    Ref<Graphics> surface = Picture::Constructor(10, 10, 32)->Graphics();
    EXPECT_THROW(surface->FillRect(0, 0, 5, 5), NilObjectException);
}
