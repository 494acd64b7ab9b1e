#include "drawing/ArcShape.h"
#include "drawing/FigureShape.h"
#include "drawing/Graphics.h"
#include "drawing/Group2D.h"
#include "drawing/OvalShape.h"
#include "drawing/Picture.h"
#include "drawing/RectShape.h"
#include "DrawingSupport.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <numbers>
#include <vector>

using test::opaque;
using test::pixelAt;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0x0029CC;
constexpr uint32_t kBlack = 0x000000;

template<typename Shape>
Ref<Shape> shape(uint32_t fill, double width, double height)
{
    Ref<Shape> made = makeRef<Shape>();
    made->FillColor({ fill });
    made->Width(width);
    made->Height(height);
    return made;
}

// The point at `radius` and `angle` from (cx, cy), angles running clockwise on screen (y down).
QPointF polar(double cx, double cy, double radius, double angle)
{
    return { cx + radius * std::cos(angle), cy + radius * std::sin(angle) };
}

test::Pixel pixelAt(Picture& picture, QPointF point)
{
    return test::pixelAt(picture, point.x(), point.y());
}

} // namespace

TEST(Object2D, OvalIsCentredOnItsPosition)
{
    Ref<Picture> picture = Picture::Constructor(100, 100, 32);
    picture->Graphics()->DrawObject(shape<OvalShape>(kBlue, 40, 20), 50, 50);
    EXPECT_EQ(pixelAt(*picture, 50, 50), opaque(kBlue));
    EXPECT_EQ(pixelAt(*picture, 68, 50), opaque(kBlue));
    EXPECT_EQ(pixelAt(*picture, 50, 58), opaque(kBlue));
    EXPECT_EQ(pixelAt(*picture, 50, 62), test::kTransparent);
    EXPECT_EQ(pixelAt(*picture, 72, 50), test::kTransparent);
    EXPECT_EQ(pixelAt(*picture, 67, 58), test::kTransparent);
}

TEST(Object2D, SectorTurnsClockwiseOnScreen)
{
    // A 30-degree sector of radius 40 from start angle `start`, turned by `rotation`: its middle
    // lies at start + rotation + 15 degrees, measured clockwise from the x axis.
    const struct {
        double start;
        double rotation;
    } cases[] = { { 0, 0 }, { 0, kPi / 3 }, { kPi / 2, 0 }, { 0, 5 * kPi / 4 }, { kPi / 6, -kPi / 2 } };
    for (const auto& row : cases) {
        SCOPED_TRACE(testing::Message() << "start " << row.start << ", rotation " << row.rotation);
        Ref<Picture> picture = Picture::Constructor(100, 100, 32);
        Ref<ArcShape> sector = shape<ArcShape>(kBlack, 80, 80);
        sector->StartAngle(row.start);
        sector->ArcAngle(kPi / 6);
        sector->Rotation(row.rotation);
        picture->Graphics()->DrawObject(sector, 50, 50);
        const double middle = row.start + row.rotation + kPi / 12;
        EXPECT_EQ(pixelAt(*picture, polar(50, 50, 30, middle)), opaque(kBlack));
        EXPECT_EQ(pixelAt(*picture, polar(50, 50, 30, -middle)), test::kTransparent);
        EXPECT_EQ(pixelAt(*picture, polar(50, 50, 45, middle)), test::kTransparent);
        EXPECT_EQ(pixelAt(*picture, polar(50, 50, 30, middle + kPi / 6)), test::kTransparent);
    }
}

TEST(Object2D, FigureFillsTheOutlineOfItsSegments)
{
    // The twelve-pointed star: 24 vertices alternately 30 and 15 from the centre, one every 15 degrees.
    Ref<FigureShape> star = makeRef<FigureShape>();
    star->FillColor({ kWhite });
    for (int i = 0; i < 24; ++i) {
        const QPointF from = polar(0, 0, i % 2 ? 15 : 30, i * kPi / 12);
        const QPointF to = polar(0, 0, (i + 1) % 2 ? 15 : 30, (i + 1) * kPi / 12);
        star->AddLine(float(from.x()), float(from.y()), float(to.x()), float(to.y()));
    }
    Ref<Picture> picture = Picture::Constructor(80, 80, 32);
    picture->Graphics()->DrawObject(star, 40, 40);
    for (int point = 0; point < 12; ++point) {
        SCOPED_TRACE(point);
        EXPECT_EQ(pixelAt(*picture, polar(40, 40, 20, point * kPi / 6)), opaque(kWhite));
        EXPECT_EQ(pixelAt(*picture, polar(40, 40, 20, point * kPi / 6 + kPi / 12)), test::kTransparent);
    }
    EXPECT_EQ(pixelAt(*picture, 40, 40), opaque(kWhite));
}

TEST(Object2D, GroupDrawsItsChildrenInOrderTurnedAndScaledWithIt)
{
    // A blue disc, then a white one on top of its middle, both 10 to the right of the group's
    // origin; the group turned a quarter clockwise and doubled.
    Ref<Group2D> group = makeRef<Group2D>();
    Ref<OvalShape> outer = shape<OvalShape>(kBlue, 10, 10);
    Ref<OvalShape> inner = shape<OvalShape>(kWhite, 4, 4);
    outer->X(10);
    inner->X(10);
    group->Append(outer);
    group->Append(inner);
    group->FillColor({ 0xFF0000 });
    group->Rotation(kPi / 2);
    group->Scale(2);
    Ref<Picture> picture = Picture::Constructor(100, 100, 32);
    picture->Graphics()->DrawObject(group, 50, 30);

    EXPECT_EQ(pixelAt(*picture, 50, 50), opaque(kWhite));
    EXPECT_EQ(pixelAt(*picture, 50, 56), opaque(kBlue));
    EXPECT_EQ(pixelAt(*picture, 50, 61), test::kTransparent);
    EXPECT_EQ(pixelAt(*picture, 70, 30), test::kTransparent);
    EXPECT_EQ(group->Count(), 2);
    EXPECT_EQ(group->Item(1), inner);
}

TEST(Object2D, GroupRefusesAbsentChildrenAndIndexesOutsideIt)
{
    Ref<Group2D> group = makeRef<Group2D>();
    group->Append(makeRef<OvalShape>());
    EXPECT_THROW(group->Append(nullptr), NilObjectException);
    EXPECT_THROW(group->Item(1), OutOfBoundsException);
    EXPECT_THROW(group->Item(-1), OutOfBoundsException);
}

TEST(Object2D, BorderIsDrawnOnlyWhenItHasAWidth)
{
    Ref<RectShape> square = shape<RectShape>(kBlue, 40, 40);
    square->BorderColor({ kWhite });
    Ref<Picture> picture = Picture::Constructor(100, 100, 32);
    picture->Graphics()->DrawObject(square, 30, 30);
    EXPECT_EQ(pixelAt(*picture, 11, 30), opaque(kBlue));

    square->BorderWidth(4);
    picture->Graphics()->DrawObject(square, 70, 70);
    EXPECT_EQ(pixelAt(*picture, 50, 70), opaque(kWhite));
    EXPECT_EQ(pixelAt(*picture, 70, 70), opaque(kBlue));
}

TEST(Object2D, HugeShapeIsCutToThePictureWithoutSeams)
{
    // A sector whose radius (2000) reaches far past the picture; filled whole inside it, every
    // row full, where the picture's rasterizer cuts it to the picture.
    Ref<Picture> picture = Picture::Constructor(300, 300, 32);
    Ref<ArcShape> sector = shape<ArcShape>(kBlack, 300, 300);
    sector->ArcAngle(kPi / 2);
    sector->Scale(2000.0 / 150);
    picture->Graphics()->DrawObject(sector, 0, 0);
    for (int y = 0; y < 300; ++y) {
        ASSERT_EQ(pixelAt(*picture, 150, y), opaque(kBlack)) << "row " << y;
        ASSERT_EQ(pixelAt(*picture, 299, y), opaque(kBlack)) << "row " << y;
    }
}

// A shape painted through a painter (on a canvas, in a window) goes to Qt's rasterizer in strips
// of 32 device rows. Each row is filled as one fill of the whole outline fills it: no row left
// out or laid twice where two strips meet, only Qt's own rounding of the cut's corners.
TEST(Object2D, APaintedShapeIsFilledInStripsWithoutSeams)
{
    struct Outline : Object2D::Sink {
        std::vector<std::vector<QPointF>> fills;
        void fill(const QPointF* points, size_t count, Color) override { fills.emplace_back(points, points + count); }
    };
    // Taller than many strips, reaching over their edges at every slope.
    Ref<OvalShape> oval = shape<OvalShape>(kBlue, 150, 280);
    Ref<ArcShape> sector = shape<ArcShape>(kBlack, 280, 280);
    sector->StartAngle(0.3);
    sector->ArcAngle(1.9);
    sector->Rotation(0.7);
    const struct {
        const char* name;
        Ref<Object2D> shape;
        QPointF at;
    } shapes[] = { { "an oval", oval, { 100, 150 } }, { "a turned sector", sector, { 20, 10 } } };
    constexpr int kMostRounding = 4;
    for (const auto& drawn : shapes) {
        for (double ratio : { 1.0, 1.5, 2.0 }) {
            SCOPED_TRACE(testing::Message() << drawn.name << " at " << ratio << " pixels a unit");
            const QSize pixels(static_cast<int>(200 * ratio), static_cast<int>(300 * ratio));
            QImage strips(pixels, QImage::Format_ARGB32_Premultiplied);
            strips.fill(Qt::transparent);
            strips.setDevicePixelRatio(ratio);
            {
                QPainter painter(&strips);
                Ref<Graphics> surface = Graphics::forPainter(&painter);
                surface->DrawObject(drawn.shape, drawn.at.x(), drawn.at.y());
                surface->bindPainter(nullptr);
            }
            // The same outline, in device pixels, filled by Qt in one go.
            QImage whole(pixels, QImage::Format_ARGB32_Premultiplied);
            whole.fill(Qt::transparent);
            {
                Outline outline;
                drawn.shape->place(QTransform::fromTranslate(drawn.at.x(), drawn.at.y()), ratio, outline);
                ASSERT_EQ(outline.fills.size(), 1u);
                QPainter painter(&whole);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::NoPen);
                painter.setBrush(QColor::fromRgb(drawn.shape->FillColor().rgb | 0xFF000000u));
                painter.drawPolygon(outline.fills[0].data(), static_cast<int>(outline.fills[0].size()), Qt::OddEvenFill);
            }
            // Inside: the pixel and its four neighbours wholly covered.
            const auto inside = [&whole](int x, int y) {
                for (const QPoint& at : { QPoint(x, y), QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1) }) {
                    if (!whole.rect().contains(at) || qAlpha(whole.pixel(at)) != 255)
                        return false;
                }
                return true;
            };
            int fullRows = 0;
            for (int y = 0; y < pixels.height(); ++y) {
                bool full = false;
                for (int x = 0; x < pixels.width(); ++x) {
                    const QRgb seen = strips.pixel(x, y), expected = whole.pixel(x, y);
                    ASSERT_LE(std::abs(qAlpha(seen) - qAlpha(expected)), kMostRounding) << "pixel " << x << ", " << y;
                    if (inside(x, y)) {
                        ASSERT_EQ(seen, expected) << "pixel " << x << ", " << y << " inside the shape";
                        full = true;
                    }
                }
                fullRows += full;
            }
            EXPECT_GT(fullRows, 3 * 32 * ratio) << "the shape reaches over several strips";
        }
    }
}
