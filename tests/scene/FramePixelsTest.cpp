#include "FlagTestSupport.h"

#include "drawing/Graphics.h"
#include "drawing/Object2D.h"
#include "drawing/private/ColdRows.h"
#include "drawing/private/PictureRecord.h"
#include "drawing/private/Raster.h"
#include "SceneConstants.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// The frames the flag draws, pixel for pixel the same as drawing each of their steps at once on
// whole images. The pictures draw only what a frame changes; this reference draws everything,
// every time, with the runtime's fills of shapes and the mask rule written out plainly.

namespace {

struct Polygons : Object2D::Sink {
    struct Fill {
        std::vector<QPointF> points;
        uint32_t colour;
    };
    std::vector<Fill> fills;
    void fill(const QPointF* points, size_t count, Color colour) override
    {
        fills.push_back({ std::vector<QPointF>(points, points + count), 0xFF000000u | colour.rgb });
    }
};

class EagerFlag {
public:
    // Starts from the pixels the pictures hold now.
    explicit EagerFlag(class wFlag& flag)
        : m_buffer(flag.picBuffer->image().copy())
        , m_mask(flag.picMask->image().copy())
        , m_back(flag.picBB->image().copy())
        , m_ratio(m_back.devicePixelRatio())
    {
    }

    void frame(class wFlag& flag, double theta, bool glory)
    {
        const int64_t groundWidth = flag.cnvGround()->Width(), groundHeight = flag.cnvGround()->Height();
        const int64_t cantonWidth = flag.cnvSky()->Width(), cantonHeight = flag.cnvSky()->Height();
        const double centreX = static_cast<double>(cantonWidth) / 2.0, centreY = static_cast<double>(cantonHeight) / 2.0;
        Object2D& sun = *flag.AstroDuodec;
        Object2D& sector = *flag.ArcGlory;
        sun.Rotation(theta);
        sun.Scale(static_cast<double>(cantonWidth) / kDesignUnitsPerCanton);
        sector.Scale(sun.Scale() * kGloryScaleFactor);

        fill(m_buffer, groundWidth, groundHeight, kFieldRed);
        fill(m_buffer, cantonWidth, cantonHeight, kCantonBlue);
        shape(m_buffer, sun, centreX, centreY);
        if (glory) {
            fill(m_mask, groundWidth, groundHeight, kGloryShade);
            for (int i = 1; i <= 6; ++i) {
                sector.Rotation((kPi / 12 + theta) + i * (kPi / 3));
                shape(m_mask, sector, centreX, centreY);
            }
        } else {
            fill(m_mask, groundWidth, groundHeight, kGloryClear);
        }
        fill(m_back, groundWidth, groundHeight, kSunWhite);
        layThroughMask();
    }

    const QImage& buffer() const { return m_buffer; }
    const QImage& mask() const { return m_mask; }
    const QImage& back() const { return m_back; }

private:
    void fill(QImage& image, int64_t width, int64_t height, Color colour)
    {
        const int right = std::min<int>(static_cast<int>(width * m_ratio), image.width());
        const int bottom = std::min<int>(static_cast<int>(height * m_ratio), image.height());
        for (int y = 0; y < bottom; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
            std::fill(row, row + right, 0xFF000000u | colour.rgb);
        }
    }

    void shape(QImage& image, Object2D& shape, double x, double y)
    {
        Polygons polygons;
        shape.place(QTransform::fromTranslate(x, y), m_ratio, polygons);
        for (const Polygons::Fill& fill : polygons.fills) {
            std::vector<raster::Point> points;
            raster::fixPolygon(fill.points.data(), fill.points.size(), image.width(), image.height(), points);
            raster::Cells cells;
            cells.build(points.data(), points.size(), image.height(), image.width());
            for (int row = cells.top(); row < cells.bottom(); ++row)
                raster::fillRow(cells.rowBegin(row), cells.rowEnd(row), 0, image.width(),
                                fill.colour, reinterpret_cast<uint32_t*>(image.scanLine(row)));
        }
    }

    // Every pixel of the buffer, seen through its mask (opacity 255 minus the grey level), over the back buffer.
    void layThroughMask()
    {
        for (int y = 0; y < m_back.height(); ++y) {
            const auto* source = reinterpret_cast<const uint32_t*>(m_buffer.constScanLine(y));
            const auto* mask = reinterpret_cast<const uint32_t*>(m_mask.constScanLine(y));
            auto* back = reinterpret_cast<uint32_t*>(m_back.scanLine(y));
            for (int x = 0; x < m_back.width(); ++x) {
                const uint32_t grey = (qRed(mask[x]) * 11 + qGreen(mask[x]) * 16 + qBlue(mask[x]) * 5) >> 5;
                const uint32_t seen = raster::byteMultiply(source[x], 255 - grey);
                back[x] = seen + raster::byteMultiply(back[x], 255 - (seen >> 24));
            }
        }
    }

    QImage m_buffer;
    QImage m_mask;
    QImage m_back;
    double m_ratio;
};

// The first row and column where two images differ, as text; empty when they are the same.
std::string firstDifference(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return "sizes differ";
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const uint32_t*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const uint32_t*>(expected.constScanLine(y));
        if (std::memcmp(a, e, static_cast<size_t>(actual.width()) * 4) == 0)
            continue;
        int x = 0;
        while (a[x] == e[x])
            ++x;
        char text[96];
        std::snprintf(text, sizeof text, "pixel (%d, %d): %08X, expected %08X", x, y, a[x], e[x]);
        return text;
    }
    return {};
}

// The first pixel outside `shown` that a frame's changes to the picture name but that holds
// what it held before the frame, as text; empty when there is none. Changes come as spans
// whose ends are pixels that changed.
std::string unchangedChangeOutside(Picture& picture, int64_t versionBefore, const QImage& before, const QRect& shown)
{
    const raster::Damage* changes = picture.record().changesSince(versionBefore);
    if (!changes)
        return "changes not known";
    const QImage& after = picture.image();
    const auto same = [&](int x, int y) { return !shown.contains(x, y) && after.pixel(x, y) == before.pixel(x, y); };
    for (int y = changes->top(); y < changes->bottom(); ++y) {
        for (const raster::Damage::Span* span = changes->rowBegin(y); span != changes->rowEnd(y); ++span) {
            for (const int x : { span->from, span->to - 1 }) {
                if (same(x, y)) {
                    char text[64];
                    std::snprintf(text, sizeof text, "pixel (%d, %d) did not change", x, y);
                    return text;
                }
            }
        }
    }
    return {};
}

// The flag drawn as the application draws it: frames only through the ground canvas's paint,
// nothing read between them.
class PaintedFlag {
public:
    PaintedFlag()
        : m_flag(wFlag())
        , m_ratio(m_flag->picBB->pixelRatio())
    {
        m_flag->TimerFlag()->Enabled(false);
        resize(static_cast<int>(m_flag->cnvGround()->Width()), static_cast<int>(m_flag->cnvGround()->Height()));
    }

    class wFlag& flag() const { return *m_flag; }
    double ratio() const { return m_ratio; }

    void frame(double degrees)
    {
        m_flag->theta = degrees * kPi / 180.0;
        QPainter painter(&m_canvas);
        Ref<Graphics> surface = Graphics::forPainter(&painter);
        m_flag->cnvGround_Paint(m_flag->cnvGround(), surface, {});
        surface->bindPainter(nullptr);
    }

    // The ground and the canvas it is shown on, the canton half of it each way.
    void resize(int width, int height)
    {
        m_flag->cnvGround()->Width(width);
        m_flag->cnvGround()->Height(height);
        m_flag->cnvSky()->Width(width / 2);
        m_flag->cnvSky()->Height(height / 2);
        m_canvas = QImage(QSize(width, height) * m_ratio, QImage::Format_ARGB32_Premultiplied);
        m_canvas.setDevicePixelRatio(m_ratio);
    }

private:
    Ref<class wFlag> m_flag;
    double m_ratio;
    QImage m_canvas;
};

// Pixels beyond the ground that a frame leaves as they were are not the frame's changes: a
// grown and restored flag does not redraw its old area frame after frame, so the work of a
// frame follows the present size, not the largest the flag ever had.
TEST(FramePixels, AShrunkFlagsFramesChangeBeyondTheGroundOnlyPixelsThatChange)
{
    test::launchApplication();
    wPanel()->CheckBoxGlory()->Value(true);
    PaintedFlag painted;
    class wFlag* flag = &painted.flag();

    painted.resize(1890, 1030);
    for (int i = 0; i < 5; ++i)
        painted.frame(1.5 * i);
    painted.resize(720, 480);
    double degrees = 10;
    for (; degrees < 25; degrees += 1.5)
        painted.frame(degrees);

    const double ratio = painted.ratio();
    const QRect ground(0, 0, static_cast<int>(720 * ratio), static_cast<int>(480 * ratio));
    Picture* pictures[] = { flag->picBuffer.raw(), flag->picMask.raw(), flag->picBB.raw() };
    const char* names[] = { "buffer", "mask", "back buffer" };
    for (int i = 0; i < 4; ++i, degrees += 1.5) {
        int64_t versions[3];
        QImage before[3];
        for (int p = 0; p < 3; ++p) {
            versions[p] = pictures[p]->record().version();
            before[p] = pictures[p]->image().copy();
        }
        painted.frame(degrees);
        for (int p = 0; p < 3; ++p) {
            SCOPED_TRACE(names[p]);
            EXPECT_EQ(unchangedChangeOutside(*pictures[p], versions[p], before[p], ground), "");
        }
    }
}

TEST(FramePixels, EveryFrameEqualsTheFrameDrawnWhole)
{
    test::launchApplication();
    PaintedFlag painted;
    class wFlag* flag = &painted.flag();
    flag->DrawFlag();
    EagerFlag eager(*flag);

    // A ground size (0: keep; the canton is half of it each way), the Glory setting, the angle in
    // degrees, whether the frames come from a paint of the ground canvas instead of a direct
    // DrawFlag, and how many frames the step draws, each 1.5 degrees on, before the pictures are read.
    struct Step {
        const char* what;
        int groundWidth, groundHeight;
        bool glory;
        double degrees;
        bool paint;
        int frames = 1;
    };
    const Step steps[] = {
        { "launch size, glory", 720, 480, true, 0, false },
        { "one tick", 0, 0, true, 1.5, false },
        { "another tick", 0, 0, true, 3, false },
        { "a paint with no tick", 0, 0, true, 3, true },
        { "glory off", 0, 0, false, 4.5, false },
        { "glory off, a tick", 0, 0, false, 6, true },
        { "glory on again", 0, 0, true, 7.5, false },
        { "grown to 1440", 1440, 960, true, 9, false },
        { "1440, a tick", 0, 0, true, 10.5, true },
        { "1440, glory off", 0, 0, false, 12, false },
        { "shrunk to 720", 720, 480, true, 13.5, false },
        { "720, a tick past the old size", 0, 0, true, 15, false },
        { "720, another", 0, 0, true, 16.5, true },
        { "smallest, 60", 60, 40, true, 18, false },
        { "45-pixel canton", 90, 60, true, 19.5, false },
        { "45-pixel canton, glory off", 0, 0, false, 21, false },
        { "stopped: back to 0", 720, 480, true, 0, false },
        { "continued", 0, 0, true, 1.5, false },
        { "maximized, 1890", 1890, 1030, true, 100, false },
        { "maximized, a tick", 0, 0, true, 101.5, true },
        { "maximized, glory off", 0, 0, false, 103, false },
        { "back to 1440 near a full turn", 1440, 960, true, 358.5, false },
        { "1440, past the turn", 0, 0, true, 0.3, false },
        // As the application draws: frames only through the canvas's paint, nothing read between them.
        { "maximized again, frames unread", 1890, 1030, true, 40, true, 5 },
        { "restored: 30 degrees of frames unread, beyond the ground read", 720, 480, true, 47.5, true, 21 },
        { "restored, frames unread until the old rows are given back", 0, 0, true, 79, true, ColdRows::kIdleFrames + 2 },
        { "maximized over the rows given back", 1890, 1030, true, 200, true, 3 },
        { "restored again", 720, 480, true, 205, true, 2 },
        { "restored, glory off, frames unread", 0, 0, false, 80, true, 4 },
        { "restored, glory on again, frames unread", 0, 0, true, 86, true, 25 },
        { "restored, a direct frame", 0, 0, true, 124, false },
        { "shrunk below the launch size, frames unread", 360, 240, true, 125.5, true, 6 },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.groundWidth)
            painted.resize(step.groundWidth, step.groundHeight);
        wPanel()->CheckBoxGlory()->Value(step.glory);
        for (int frame = 0; frame < step.frames; ++frame) {
            const double degrees = step.degrees + 1.5 * frame;
            if (step.paint) {
                painted.frame(degrees);
            } else {
                flag->theta = degrees * kPi / 180.0;
                flag->DrawFlag();
            }
            eager.frame(*flag, flag->theta, step.glory);
        }
        ASSERT_EQ(firstDifference(flag->picBB->image(), eager.back()), "");
        ASSERT_EQ(firstDifference(flag->picBuffer->image(), eager.buffer()), "");
        ASSERT_EQ(firstDifference(flag->picMask->image(), eager.mask()), "");
    }
}

} // namespace
