#include "drawing/ArcShape.h"
#include "drawing/FigureShape.h"
#include "drawing/Graphics.h"
#include "drawing/OvalShape.h"
#include "drawing/Picture.h"

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QTransform>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

// Shapes fill by the nonzero winding rule. The pictures' own rasteriser is held to FreeType's
// (its antialiased "gray" rasteriser, by the same rule) on the very device points the runtime
// fills; a figure whose segments cross comes out solid on every path that fills one. The suite
// runs again on a screen of twice the density (hidpi_tests).

namespace {

constexpr double kPi = std::numbers::pi;
constexpr uint32_t kBlue = 0x0029CC;

// Where an edge passes, the two may differ by this many levels of coverage (5 at most on these
// cases): FreeType takes points in 1/64ths of a pixel, the runtime in 1/256ths.
constexpr int kEdgeLevels = 6;

// The outlines, in device pixels, that the runtime fills for a shape.
class PlacedOutlines : public Object2D::Sink {
public:
    std::vector<std::vector<QPointF>> polygons;
    void fill(const QPointF* points, size_t count, Color) override { polygons.emplace_back(points, points + count); }
};

class FreeType {
public:
    FreeType() { FT_Init_FreeType(&m_library); }
    ~FreeType() { FT_Done_FreeType(m_library); }
    FreeType(const FreeType&) = delete;
    FreeType& operator=(const FreeType&) = delete;

    // Coverage 0-255 of each pixel of a width x height grid, the polygon filled by the nonzero rule.
    std::vector<uint8_t> coverage(const std::vector<QPointF>& polygon, int width, int height) const
    {
        std::vector<FT_Vector> points;
        for (const QPointF& point : polygon)
            points.push_back({ std::lround(point.x() * 64), std::lround(point.y() * 64) });
        std::vector<char> tags(points.size(), FT_CURVE_TAG_ON);
        short last = static_cast<short>(points.size() - 1);
        FT_Outline outline {};
        outline.n_contours = 1;
        outline.n_points = static_cast<short>(points.size());
        outline.points = points.data();
        outline.tags = tags.data();
        outline.contours = &last;
        outline.flags = FT_OUTLINE_NONE;

        Grid grid { std::vector<uint8_t>(static_cast<size_t>(width) * static_cast<size_t>(height)), width, height };
        FT_Raster_Params params {};
        params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
        params.gray_spans = [](int y, int count, const FT_Span* spans, void* user) {
            Grid& into = *static_cast<Grid*>(user);
            for (const FT_Span* span = spans; span != spans + count; ++span) {
                for (int x = span->x; x < span->x + span->len; ++x)
                    into.values[static_cast<size_t>(y) * static_cast<size_t>(into.width) + static_cast<size_t>(x)] = span->coverage;
            }
        };
        params.user = &grid;
        params.clip_box = { 0, 0, width, height };
        EXPECT_EQ(FT_Outline_Render(m_library, &outline, &params), 0);
        return std::move(grid.values);
    }

private:
    struct Grid {
        std::vector<uint8_t> values;
        int width;
        int height;
    };
    FT_Library m_library = nullptr;
};

struct Agreement {
    int64_t edgePixels = 0;
    int64_t edgeDiffering = 0;
    int worstEdge = 0;
    int64_t interiorPixels = 0;
    int64_t interiorDiffering = 0;
};

// The pixels an edge of the polygon passes through or next to: the only ones where two
// antialiasing rasterisers may differ.
std::vector<bool> nearAnEdge(const std::vector<QPointF>& polygon, int width, int height)
{
    std::vector<bool> near(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < polygon.size(); ++i) {
        const QPointF from = polygon[i], to = polygon[(i + 1) % polygon.size()];
        const int steps = 1 + static_cast<int>(2 * std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y())));
        for (int step = 0; step <= steps; ++step) {
            const QPointF at = from + (to - from) * (double(step) / steps);
            const int x = static_cast<int>(std::floor(at.x())), y = static_cast<int>(std::floor(at.y()));
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (x + dx >= 0 && x + dx < width && y + dy >= 0 && y + dy < height)
                        near[static_cast<size_t>(y + dy) * static_cast<size_t>(width) + static_cast<size_t>(x + dx)] = true;
                }
            }
        }
    }
    return near;
}

// Away from every edge the two must agree exactly; near one, within kEdgeLevels.
void compare(const std::vector<uint8_t>& ours, const std::vector<uint8_t>& theirs, const std::vector<bool>& edge, Agreement& tally)
{
    for (size_t i = 0; i < ours.size(); ++i) {
        const int difference = std::abs(int(ours[i]) - int(theirs[i]));
        if (!edge[i]) {
            ++tally.interiorPixels;
            tally.interiorDiffering += difference != 0;
        } else if (ours[i] != 0 || theirs[i] != 0) {
            ++tally.edgePixels;
            tally.edgeDiffering += difference != 0;
            tally.worstEdge = std::max(tally.worstEdge, difference);
        }
    }
}

// The alpha of a picture on which white was filled over transparency: the coverage.
std::vector<uint8_t> alphaOf(Picture& picture)
{
    const QImage& image = picture.image();
    std::vector<uint8_t> alpha;
    alpha.reserve(static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            alpha.push_back(static_cast<uint8_t>(qAlpha(row[x])));
    }
    return alpha;
}

Ref<FigureShape> figure(const std::vector<QPointF>& vertices)
{
    Ref<FigureShape> made = makeRef<FigureShape>();
    for (size_t i = 0; i < vertices.size(); ++i) {
        const QPointF& from = vertices[i];
        const QPointF& to = vertices[(i + 1) % vertices.size()];
        made->AddLine(float(from.x()), float(from.y()), float(to.x()), float(to.y()));
    }
    return made;
}

// Five points of a circle of `radius` joined every second one: the centre is wound round twice.
Ref<FigureShape> pentagram(double radius)
{
    std::vector<QPointF> vertices;
    for (int i = 0; i < 5; ++i) {
        const double angle = -kPi / 2 + i * 4 * kPi / 5;
        vertices.push_back({ radius * std::cos(angle), radius * std::sin(angle) });
    }
    return figure(vertices);
}

// The emblem's twelve-pointed star: radii 600 and 300 in whole units, scaled to the canton.
Ref<Object2D> star(double cantonWidth, double turn)
{
    std::vector<QPointF> vertices;
    for (int i = 0; i < 24; ++i) {
        const double radius = i % 2 == 0 ? 600 : 300, angle = i * kPi / 12;
        vertices.push_back({ std::trunc(radius * std::cos(angle)), std::trunc(radius * std::sin(angle)) });
    }
    Ref<FigureShape> made = figure(vertices);
    made->Scale(cantonWidth / 2400);
    made->Rotation(turn);
    return made;
}

// A glory sector: a 30-degree slice reaching 15/8 of the canton's width from its centre.
Ref<Object2D> sector(double cantonWidth, double turn)
{
    Ref<ArcShape> made = makeRef<ArcShape>();
    made->Width(300);
    made->Height(300);
    made->ArcAngle(kPi / 6);
    made->Scale(cantonWidth / 2400 * 30);
    made->Rotation(turn);
    return made;
}

Ref<Object2D> disc(double diameter)
{
    Ref<OvalShape> made = makeRef<OvalShape>();
    made->Width(diameter);
    made->Height(diameter);
    return made;
}

struct Case {
    std::string name;
    Ref<Object2D> shape;
    double x, y;
    int64_t width, height;
};

std::vector<Case> cases()
{
    std::vector<Case> all;
    // Self-crossing polygons of 3 to 12 vertices, some reaching past the picture's sides.
    std::mt19937 random(17);
    const auto coordinate = [&random] { return -12.8 + 153.6 * (random() / 4294967296.0); };
    for (int i = 0; i < 300; ++i) {
        std::vector<QPointF> vertices(3 + random() % 10);
        for (QPointF& vertex : vertices)
            vertex = { coordinate(), coordinate() };
        all.push_back({ "random polygon " + std::to_string(i), figure(vertices), 0, 0, 128, 128 });
    }
    // The emblem's shapes as a 720 and a 1890 wide flag draw them about the canton's centre.
    for (double canton : { 360.0, 945.0 }) {
        const double cx = canton / 2, cy = std::floor(canton * 2 / 3) / 2;
        for (double turn : { 0.0, 0.0261799, 1.1 }) {
            const std::string at = " at canton " + std::to_string(int(canton)) + ", turn " + std::to_string(turn);
            all.push_back({ "star" + at, star(canton, turn), cx, cy, int64_t(canton), int64_t(canton * 2 / 3) });
            all.push_back({ "sector" + at, sector(canton, turn + kPi / 12), cx, cy, int64_t(canton * 2), int64_t(canton * 4 / 3) });
        }
        all.push_back({ "disc at canton " + std::to_string(int(canton)), disc(canton * 1200 / 2400), cx, cy, int64_t(canton), int64_t(canton * 2 / 3) });
    }
    all.push_back({ "pentagram", pentagram(45), 50.5, 49.75, 100, 100 });
    return all;
}

} // namespace

TEST(FillRule, PicturesFillAsFreeTypeDoesWithinAFewLevelsAtEdgesAndExactlyInside)
{
    FreeType freeType;
    Agreement total;
    for (const Case& row : cases()) {
        SCOPED_TRACE(row.name);
        Ref<Picture> picture = Picture::Constructor(row.width, row.height, 32);
        const double ratio = picture->pixelRatio();
        row.shape->FillColor({ 0xFFFFFF });
        PlacedOutlines placed;
        row.shape->place(QTransform::fromTranslate(row.x, row.y), ratio, placed);
        ASSERT_EQ(placed.polygons.size(), 1u);
        picture->Graphics()->DrawObject(row.shape, row.x, row.y);

        const int width = picture->image().width(), height = picture->image().height();
        Agreement tally;
        const std::vector<QPointF>& polygon = placed.polygons.front();
        compare(alphaOf(*picture), freeType.coverage(polygon, width, height), nearAnEdge(polygon, width, height), tally);
        EXPECT_EQ(tally.interiorDiffering, 0) << "of " << tally.interiorPixels << " interior pixels";
        EXPECT_LE(tally.worstEdge, kEdgeLevels) << tally.edgeDiffering << " of " << tally.edgePixels << " edge pixels differ";
        total.edgePixels += tally.edgePixels;
        total.edgeDiffering += tally.edgeDiffering;
        total.worstEdge = std::max(total.worstEdge, tally.worstEdge);
        total.interiorPixels += tally.interiorPixels;
        total.interiorDiffering += tally.interiorDiffering;
    }
    RecordProperty("EdgePixels", std::to_string(total.edgePixels));
    RecordProperty("EdgePixelsDiffering", std::to_string(total.edgeDiffering));
    RecordProperty("WorstEdgeLevels", std::to_string(total.worstEdge));
    RecordProperty("InteriorPixels", std::to_string(total.interiorPixels));
    RecordProperty("InteriorPixelsDiffering", std::to_string(total.interiorDiffering));
}

TEST(FillRule, ACrossingFigureIsSolidOnEveryPathThatFillsIt)
{
    // Pictures fill a plain figure themselves; a bordered one, and any shape drawn on a painter's
    // surface (a canvas being painted), go through Qt.
    enum class Path { Picture, BorderedOnPicture, Painter };
    const struct {
        Path path;
        const char* name;
    } paths[] = { { Path::Picture, "picture" }, { Path::BorderedOnPicture, "bordered, on a picture" }, { Path::Painter, "painter" } };
    for (const auto [path, name] : paths) {
        SCOPED_TRACE(name);
        Ref<FigureShape> shape = pentagram(45);
        shape->FillColor({ kBlue });
        if (path == Path::BorderedOnPicture) {
            shape->BorderWidth(1);
            shape->BorderColor({ 0xFFFFFF });
        }
        Ref<Picture> picture = Picture::Constructor(100, 100, 32);
        const double ratio = picture->pixelRatio();
        QImage drawn;
        if (path == Path::Painter) {
            drawn = QImage(picture->image().size(), QImage::Format_ARGB32_Premultiplied);
            drawn.setDevicePixelRatio(ratio);
            drawn.fill(Qt::transparent);
            QPainter painter(&drawn);
            Ref<Graphics> surface = Graphics::forPainter(&painter);
            surface->DrawObject(shape, 50, 50);
            surface->bindPainter(nullptr);
        } else {
            picture->Graphics()->DrawObject(shape, 50, 50);
            drawn = picture->image();
        }
        const auto at = [&](double x, double y) { return drawn.pixel(int(x * ratio), int(y * ratio)); };
        EXPECT_EQ(at(50, 50), 0xFF000000u | kBlue) << "the centre, wound round twice";
        EXPECT_EQ(at(50, 20), 0xFF000000u | kBlue) << "a point, wound round once";
        EXPECT_EQ(at(30, 25), 0u) << "outside";
    }
}
