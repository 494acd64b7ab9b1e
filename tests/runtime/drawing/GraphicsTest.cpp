#include "drawing/Graphics.h"
#include "drawing/OvalShape.h"
#include "drawing/Picture.h"
#include "DrawingSupport.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

using test::opaque;
using test::pixelAt;

namespace {

constexpr uint32_t kRed = 0xF20000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0x0029CC;

Ref<Picture> filled(int64_t width, int64_t height, uint32_t rgb)
{
    Ref<Picture> picture = Picture::Constructor(width, height, 32);
    picture->Graphics()->ForeColor({ rgb });
    picture->Graphics()->FillRect(0, 0, width, height);
    return picture;
}

enum class Way { PixelPass, Scaled, ThroughPainter };

// A red 13 x 5 picture seen through a mask of one colour, drawn over white; the middle row of
// what lands (13 pixels, or 26 when drawn at twice the size). An odd width runs the wide and the
// one-pixel parts of the pass alike.
std::vector<uint32_t> maskedRow(uint32_t maskRgb, Way way)
{
    Ref<Picture> source = filled(13, 5, kRed);
    source->Mask(filled(13, 5, maskRgb));
    std::vector<uint32_t> row;
    if (way == Way::ThroughPainter) {
        QImage target(13, 5, QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::white);
        QPainter painter(&target);
        Graphics::forPainter(&painter)->DrawPicture(source, 0, 0);
        painter.end();
        for (int x = 0; x < 13; ++x)
            row.push_back(target.pixel(x, 2) & 0xFFFFFF);
        return row;
    }
    Ref<Picture> destination = filled(26, 10, kWhite);
    const bool scaled = way == Way::Scaled;
    destination->Graphics()->DrawPicture(source, 0, 0, scaled ? 26 : Graphics::kLeftOut, scaled ? 10 : Graphics::kLeftOut);
    for (int x = 0; x < (scaled ? 26 : 13); ++x)
        row.push_back(pixelAt(*destination, x, scaled ? 5 : 2).rgb);
    return row;
}

} // namespace

TEST(Graphics, FillRectFillsExactlyTheRectangleInsideTheSurface)
{
    Ref<Picture> picture = Picture::Constructor(20, 20, 32);
    Ref<Graphics> surface = picture->Graphics();
    surface->ForeColor({ kBlue });
    surface->FillRect(4, 5, 6, 3);
    EXPECT_EQ(surface->ForeColor(), Color { kBlue });
    EXPECT_EQ(pixelAt(*picture, 4, 5), opaque(kBlue));
    EXPECT_EQ(pixelAt(*picture, 9, 7), opaque(kBlue));
    EXPECT_EQ(pixelAt(*picture, 10, 7), test::kTransparent);
    EXPECT_EQ(pixelAt(*picture, 9, 8), test::kTransparent);
    EXPECT_EQ(pixelAt(*picture, 3, 5), test::kTransparent);

    surface->ForeColor({ kRed });
    surface->FillRect(15, -100, 1000, 105);
    surface->FillRect(0, 0, -5, 5);
    EXPECT_EQ(pixelAt(*picture, 19, 0), opaque(kRed));
    EXPECT_EQ(pixelAt(*picture, 15, 4), opaque(kRed));
    EXPECT_EQ(pixelAt(*picture, 15, 5), test::kTransparent);
    EXPECT_EQ(pixelAt(*picture, 0, 0), test::kTransparent);
}

TEST(Graphics, DrawPictureTakesLeftOutSizesAsThePicturesOwn)
{
    Ref<Picture> source = filled(4, 3, kBlue);
    source->Graphics()->ForeColor({ kRed });
    source->Graphics()->FillRect(2, 0, 2, 3);
    Ref<Picture> destination = Picture::Constructor(20, 20, 32);
    destination->Graphics()->DrawPicture(source, 5, 6);
    EXPECT_EQ(pixelAt(*destination, 5, 6), opaque(kBlue));
    EXPECT_EQ(pixelAt(*destination, 8, 8), opaque(kRed));
    EXPECT_EQ(pixelAt(*destination, 9, 8), test::kTransparent);
    EXPECT_EQ(pixelAt(*destination, 5, 9), test::kTransparent);

    // Only the source's right half, its own size, at (0, 0).
    destination->Graphics()->DrawPicture(source, 0, 0, 2, 3, 2, 0, 2, 3);
    EXPECT_EQ(pixelAt(*destination, 0, 0), opaque(kRed));
    EXPECT_EQ(pixelAt(*destination, 1, 2), opaque(kRed));
    EXPECT_EQ(pixelAt(*destination, 2, 0), test::kTransparent);
}

TEST(Graphics, MaskedPictureShowsByTheMasksGreyLevel)
{
    // Opacity 255 - grey: 0x222222 lets 34/255 of the white beneath through.
    const struct {
        uint32_t mask;
        uint32_t seen;
    } cases[] = {
        { 0x000000, kRed },
        { 0x222222, 0xF42222 },
        { 0xFFFFFF, kWhite },
    };
    for (const auto& row : cases) {
        for (Way way : { Way::PixelPass, Way::Scaled, Way::ThroughPainter }) {
            SCOPED_TRACE(testing::Message() << std::hex << "mask 0x" << row.mask << ", way " << static_cast<int>(way));
            for (uint32_t pixel : maskedRow(row.mask, way))
                EXPECT_TRUE(test::near(pixel, row.seen, 1)) << std::hex << "0x" << pixel;
        }
    }
}

TEST(Graphics, TransparentPartOfAMaskedPictureLeavesTheDestination)
{
    Ref<Picture> source = Picture::Constructor(40, 40, 32);
    source->Graphics()->ForeColor({ kRed });
    source->Graphics()->FillRect(0, 0, 2, 2);
    source->Mask(filled(40, 40, 0x000000));
    Ref<Picture> destination = filled(40, 40, kBlue);
    destination->Graphics()->DrawPicture(source, 0, 0);
    EXPECT_EQ(pixelAt(*destination, 1, 1), opaque(kRed));
    EXPECT_EQ(pixelAt(*destination, 2, 2), opaque(kBlue));
    EXPECT_EQ(pixelAt(*destination, 39, 39), opaque(kBlue));
}

TEST(Graphics, MaskedPictureIsCutToTheDestination)
{
    Ref<Picture> source = filled(10, 10, kRed);
    source->Mask(filled(10, 10, 0x000000));
    Ref<Picture> destination = filled(8, 8, kWhite);
    destination->Graphics()->DrawPicture(source, 4, -2);
    EXPECT_EQ(pixelAt(*destination, 3, 0), opaque(kWhite));
    EXPECT_EQ(pixelAt(*destination, 4, 0), opaque(kRed));
    EXPECT_EQ(pixelAt(*destination, 7, 7), opaque(kRed));
}

TEST(Graphics, PainterSurfaceDrawsUntilUnbound)
{
    QImage target(10, 10, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    Ref<Graphics> surface = Graphics::forPainter(&painter);
    surface->ForeColor({ kBlue });
    surface->FillRect(0, 0, 3, 3);
    surface->bindPainter(nullptr);
    EXPECT_THROW(surface->FillRect(0, 0, 3, 3), NilObjectException);
    EXPECT_THROW(surface->DrawObject(makeRef<OvalShape>(), 1, 1), NilObjectException);
    EXPECT_THROW(surface->DrawPicture(Picture::Constructor(1, 1, 32), 0, 0), NilObjectException);
    painter.end();
    EXPECT_EQ(target.pixel(2, 2), 0xFF000000u | kBlue);
    EXPECT_EQ(target.pixel(3, 3), 0u);
}

TEST(Graphics, AbsentShapeOrPictureIsAnError)
{
    Ref<Graphics> surface = Picture::Constructor(5, 5, 32)->Graphics();
    EXPECT_THROW(surface->DrawObject(nullptr, 0, 0), NilObjectException);
    EXPECT_THROW(surface->DrawPicture(nullptr, 0, 0), NilObjectException);
}
