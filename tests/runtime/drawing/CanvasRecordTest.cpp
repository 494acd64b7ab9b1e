#include "drawing/private/CanvasRecord.h"

#include <QRect>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// The rectangles a canvas repaints for the spans a frame changed, in bands of rows: what costs
// the window system and Qt least, a rectangle counting as kRectanglePrice pixels.

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& rectangle, std::ostream* out)
{
    *out << "(" << rectangle.x() << ", " << rectangle.y() << ", " << rectangle.width() << " x " << rectangle.height() << ")";
}
QT_END_NAMESPACE

namespace {

constexpr int kRows = CanvasRecord::kBandRows;
// Spans whose gap is at most this wide are cheaper joined.
constexpr int kJoined = static_cast<int>(CanvasRecord::kRectanglePrice / kRows);

struct Span {
    int band, from, to;
};

} // namespace

TEST(CanvasRecord, RepaintsTheSpansInTheRectanglesThatCostLeast)
{
    const struct {
        const char* what;
        std::vector<Span> spans;
        QRect within;
        std::vector<QRect> expected;
    } cases[] = {
        { "nothing", {}, QRect(0, 0, 1890, 1260), {} },
        { "one span", { { 0, 10, 20 } }, QRect(0, 0, 1890, 1260), { QRect(10, 0, 10, kRows) } },
        { "a gap a rectangle is worth, joined", { { 1, 0, 10 }, { 1, 10 + kJoined, 20 + kJoined } }, QRect(0, 0, 1890, 1260),
          { QRect(0, kRows, 20 + kJoined, kRows) } },
        { "a gap one pixel wider, apart", { { 1, 0, 10 }, { 1, 11 + kJoined, 21 + kJoined } }, QRect(0, 0, 1890, 1260),
          { QRect(0, kRows, 10, kRows), QRect(11 + kJoined, kRows, 10, kRows) } },
        { "the same spans in bands one above the other, one rectangle each",
          { { 2, 0, 10 }, { 2, 500, 510 }, { 3, 0, 10 }, { 3, 500, 510 }, { 4, 0, 10 }, { 4, 500, 510 } }, QRect(0, 0, 1890, 1260),
          { QRect(0, 2 * kRows, 10, 3 * kRows), QRect(500, 2 * kRows, 10, 3 * kRows) } },
        { "the same spans in bands far apart", { { 0, 0, 10 }, { 20, 0, 10 } }, QRect(0, 0, 1890, 1260),
          { QRect(0, 0, 10, kRows), QRect(0, 20 * kRows, 10, kRows) } },
        { "in rows from the top, each left to right", { { 9, 900, 950 }, { 9, 100, 150 }, { 0, 700, 710 } }, QRect(0, 0, 1890, 1260),
          { QRect(700, 0, 10, kRows), QRect(100, 9 * kRows, 50, kRows), QRect(900, 9 * kRows, 50, kRows) } },
        { "cut to what shows", { { 1, 90, 120 }, { 2, 0, 10 } }, QRect(0, 0, 100, 40), { QRect(90, kRows, 10, 40 - kRows) } },
        { "close ones, the bounding rectangle",
          { { 0, 0, 50 }, { 0, 250, 300 }, { 1, 1, 51 }, { 1, 251, 301 }, { 2, 2, 52 }, { 2, 252, 302 }, { 3, 3, 53 }, { 3, 253, 303 } },
          QRect(0, 0, 1890, 1260), { QRect(0, 0, 303, 4 * kRows) } },
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        raster::Damage bands;
        bands.reset(1890, (1260 + kRows - 1) / kRows);
        for (const Span& span : row.spans)
            bands.addSpan(span.band, span.from, span.to);
        std::vector<QRect> rectangles { QRect(1, 2, 3, 4) };
        CanvasRecord::repaintRectangles(bands, row.within, rectangles);
        EXPECT_EQ(rectangles, row.expected);
    }
}
