#include "drawing/Graphics.h"
#include "drawing/OvalShape.h"
#include "drawing/Picture.h"
#include "drawing/private/Raster.h"
#include "DrawingSupport.h"

#include <QImage>
#include <QTransform>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

struct PlacedFills : Object2D::Sink {
    std::vector<std::vector<QPointF>> polygons;
    void fill(const QPointF* points, size_t count, Color) override { polygons.emplace_back(points, points + count); }
};

// The image of a width x height picture with a rectangle filled and then a shape filled over it,
// each drawn at once on the whole image.
QImage drawnWhole(int width, int height, const QRect& filled, uint32_t fillRgb, Object2D& shape, double x, double y)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int row = filled.top(); row <= filled.bottom(); ++row) {
        auto* pixels = reinterpret_cast<uint32_t*>(image.scanLine(row));
        std::fill(pixels + filled.left(), pixels + filled.right() + 1, 0xFF000000u | fillRgb);
    }
    PlacedFills placed;
    shape.place(QTransform::fromTranslate(x, y), 1, placed);
    for (const std::vector<QPointF>& polygon : placed.polygons) {
        std::vector<raster::Point> points;
        raster::fixPolygon(polygon.data(), polygon.size(), width, height, points);
        raster::Cells cells;
        cells.build(points.data(), points.size(), height, width);
        for (int row = cells.top(); row < cells.bottom(); ++row)
            raster::fillRow(cells.rowBegin(row), cells.rowEnd(row), 0, width, 0xFF000000u | shape.FillColor().rgb,
                            reinterpret_cast<uint32_t*>(image.scanLine(row)));
    }
    return image;
}

} // namespace

// A shape drawn over a fill of its own colour changes nothing where the blend of that colour over
// itself gives it back; everywhere else it shows as drawn.
TEST(Picture, AShapeOnAFillOfItsOwnColourShowsAsDrawnWhole)
{
    constexpr uint32_t kBlue = 0x0029CC, kGrey = 0x989898, kWhite = 0xFFFFFF;
    const struct {
        const char* what;
        QRect filled;
        uint32_t fillRgb;
        uint32_t discRgb;
    } cases[] = {
        { "inside, in a colour that blends to itself", QRect(0, 0, 40, 40), kBlue, kBlue },
        { "reaching past the fill", QRect(0, 0, 21, 40), kBlue, kBlue },
        { "a colour whose edges blend to another", QRect(0, 0, 40, 40), kGrey, kGrey },
        { "another colour", QRect(0, 0, 40, 40), kBlue, kWhite },
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        Ref<OvalShape> disc = makeRef<OvalShape>();
        disc->Width(20.5);
        disc->Height(20.5);
        disc->FillColor({ row.discRgb });
        Ref<Picture> picture = Picture::Constructor(40, 40, 32);
        picture->Graphics()->ForeColor({ row.fillRgb });
        picture->Graphics()->FillRect(row.filled.x(), row.filled.y(), row.filled.width(), row.filled.height());
        picture->Graphics()->DrawObject(disc, 20.3, 19.6);
        const QImage expected = drawnWhole(40, 40, row.filled, row.fillRgb, *disc, 20.3, 19.6);
        int differing = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x)
                differing += picture->image().pixel(x, y) != expected.pixel(x, y);
        }
        EXPECT_EQ(differing, 0);
    }
}
