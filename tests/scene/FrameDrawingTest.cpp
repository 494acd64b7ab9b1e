#include "FlagTestSupport.h"

#include "SceneConstants.h"

#include <gtest/gtest.h>

namespace {

// At 720 x 480 the canton is 360 x 240 with its centre at (180, 120); the star's points reach
// 90 pixels from it, the white centre 45, the blue ring round it 51.
constexpr double kCentreX = 180;
constexpr double kCentreY = 120;

// On the 720 x 480 flag, outside the canton.
bool inFlagField(QPoint at)
{
    return QRect(0, 0, 720, 480).contains(at) && !QRect(0, 0, 360, 240).contains(at);
}

// The flag at `theta` (degrees), drawn into the back buffer with the animation held still.
const QImage& frameAt(double degrees, bool glory)
{
    Ref<class wFlag> flag = wFlag();
    flag->TimerFlag()->Enabled(false);
    wPanel()->CheckBoxGlory()->Value(glory);
    flag->theta = degrees * kPi / 180.0;
    flag->DrawFlag();
    return flag->picBB->image();
}

TEST(FrameDrawing, FieldCantonAndSunHaveTheirColoursAtTheta0)
{
    test::launchApplication();
    const QImage& frame = frameAt(0, false);

    struct Case {
        const char* what;
        QPoint at;
        QRgb colour;
    };
    const Case cases[] = {
        { "field right of the canton", { 400, 100 }, test::kRed },
        { "field below the canton", { 100, 300 }, test::kRed },
        { "field's far corner", { 719, 479 }, test::kRed },
        { "canton's top-left corner", { 0, 0 }, test::kBlue },
        { "canton's bottom-right corner", { 359, 239 }, test::kBlue },
        { "canton beside the sun", { 40, 120 }, test::kBlue },
        { "sun's centre", { 180, 120 }, test::kWhite },
        { "sun's white centre near its edge", test::polar(kCentreX, kCentreY, 15, 40), test::kWhite },
        { "blue ring round the centre", test::polar(kCentreX, kCentreY, 0, 48), test::kBlue },
        { "blue ring between two points", test::polar(kCentreX, kCentreY, 15, 48), test::kBlue },
        { "star point straight to the right", test::polar(kCentreX, kCentreY, 0, 60), test::kWhite },
        { "star point straight to the right, near its tip", test::polar(kCentreX, kCentreY, 0, 84), test::kWhite },
        { "star point straight down", test::polar(kCentreX, kCentreY, 90, 75), test::kWhite },
        { "gap between points at 15 degrees", test::polar(kCentreX, kCentreY, 15, 75), test::kBlue },
        { "gap between points at -15 degrees", test::polar(kCentreX, kCentreY, -15, 75), test::kBlue },
        { "beyond the tip of the right point", test::polar(kCentreX, kCentreY, 0, 95), test::kBlue },
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::pixel(frame, c.at), c.colour) << c.what << " at " << c.at.x() << ", " << c.at.y();

    for (int point = 0; point < 12; ++point) {
        EXPECT_EQ(test::pixel(frame, test::polar(kCentreX, kCentreY, point * 30.0, 72)), test::kWhite) << "point " << point;
        EXPECT_EQ(test::pixel(frame, test::polar(kCentreX, kCentreY, point * 30.0 + 15.0, 72)), test::kBlue) << "gap after point " << point;
    }
}

// The sectors turn with the sun, so at every angle their middles stay on every second point.
TEST(FrameDrawing, GlorySectorsLieOnEverySecondPointAndLightenTheRest)
{
    test::launchApplication();
    for (double theta : { 0.0, 10.0, 45.0 }) {
        const QImage& frame = frameAt(theta, true);
        for (int point = 0; point < 12; ++point) {
            double angle = theta + point * 30.0;
            bool inSector = point % 2 == 1;
            // Just past the star's tip, still in the canton; and out in the red field.
            QRgb canton = test::pixel(frame, test::polar(kCentreX, kCentreY, angle, 100));
            QRgb star = test::pixel(frame, test::polar(kCentreX, kCentreY, angle, 72));
            if (inSector) {
                EXPECT_EQ(canton, test::kBlue) << "theta " << theta << ", point " << point;
                EXPECT_EQ(star, test::kWhite) << "theta " << theta << ", point " << point;
            } else {
                EXPECT_TRUE(test::lighterThan(canton, test::kBlue)) << "theta " << theta << ", point " << point << std::hex << ": " << canton;
            }
            QPoint inField = test::polar(kCentreX, kCentreY, angle, 300);
            if (!inFlagField(inField))
                continue;
            QRgb field = test::pixel(frame, inField);
            if (inSector)
                EXPECT_EQ(field, test::kRed) << "theta " << theta << ", point " << point;
            else
                EXPECT_TRUE(test::lighterThan(field, test::kRed)) << "theta " << theta << ", point " << point << std::hex << ": " << field;
        }
    }
}

// Each sector spans 30 degrees from 15 + 60 i past theta: a degree inside either edge the
// canton shows at full strength, a degree outside it lighter.
TEST(FrameDrawing, EachGlorySectorEndsAtItsEdges)
{
    test::launchApplication();
    for (double theta : { 0.0, 37.0 }) {
        const QImage& frame = frameAt(theta, true);
        for (int sector = 1; sector <= 6; ++sector) {
            const double start = theta + 15.0 + 60.0 * sector;
            const struct {
                const char* where;
                double angle;
                bool inside;
            } edges[] = {
                { "a degree before its start", start - 1.0, false },
                { "a degree past its start", start + 1.0, true },
                { "a degree before its end", start + 29.0, true },
                { "a degree past its end", start + 31.0, false },
            };
            for (const auto& edge : edges) {
                // Past the star's tips, inside the canton.
                const QRgb colour = test::pixel(frame, test::polar(kCentreX, kCentreY, edge.angle, 110));
                if (edge.inside)
                    EXPECT_EQ(colour, test::kBlue) << "theta " << theta << ", sector " << sector << ", " << edge.where;
                else
                    EXPECT_TRUE(test::lighterThan(colour, test::kBlue))
                        << "theta " << theta << ", sector " << sector << ", " << edge.where << std::hex << ": " << colour;
            }
        }
    }
}

TEST(FrameDrawing, WithGloryOffNothingOfTheSectorsShows)
{
    test::launchApplication();
    frameAt(0, true);
    const QImage& frame = frameAt(0, false);
    int fieldOff = 0;
    int cantonOff = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 720; ++x) {
            QRgb colour = frame.pixel(x, y);
            if (inFlagField(QPoint(x, y)))
                fieldOff += colour != test::kRed;
            else if (std::hypot(x - kCentreX, y - kCentreY) > 92)
                cantonOff += colour != test::kBlue;
        }
    }
    EXPECT_EQ(fieldOff, 0) << "field pixels not plain red";
    EXPECT_EQ(cantonOff, 0) << "canton pixels off the sun not plain blue";
}

// An odd canton width puts the centre on a half pixel: the sun is drawn there, not a
// half pixel to the left, so the canton mirrors onto itself about x = 22.5.
TEST(FrameDrawing, A45PixelCantonIsDrawnAboutItsHalfPixelCentre)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    for (bool glory : { false, true }) {
        flag->cnvGround()->Width(90);
        flag->cnvGround()->Height(60);
        flag->cnvSky()->Width(45);
        flag->cnvSky()->Height(30);
        const QImage& frame = frameAt(0, glory);

        EXPECT_EQ(frame.pixel(22, 15), test::kWhite);
        int worst = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 22; ++x) {
                worst = std::max(worst, test::largestChannelDifference(frame.pixel(x, y), frame.pixel(44 - x, y)));
                worst = std::max(worst, test::largestChannelDifference(frame.pixel(x, y), frame.pixel(x, 29 - y)));
            }
        }
        // Shapes' edges are antialiased and the star's vertices are truncated to whole design
        // units, so a mirror pixel may differ by a few levels; half a pixel off would be many.
        EXPECT_LE(worst, 8) << "glory " << glory;
    }
}

} // namespace
