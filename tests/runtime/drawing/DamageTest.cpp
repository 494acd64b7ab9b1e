#include "drawing/private/Raster.h"

#include <QPointF>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

// The rows of spans a drawing changes: whatever order spans come in, a row holds every pixel
// added, in order, its spans further apart than kJoinedGap; while they fit, exactly the pixels
// added with the gaps between them closed.

namespace {

using Span = raster::Damage::Span;
constexpr int kWidth = 400;

std::vector<Span> rowOf(const raster::Damage& damage, int y)
{
    return { damage.rowBegin(y), damage.rowEnd(y) };
}

// The pixels of `added` as spans, gaps up to kJoinedGap closed.
std::vector<Span> closedUnion(const std::vector<bool>& added)
{
    std::vector<Span> spans;
    for (int x = 0; x < kWidth; ++x) {
        if (!added[static_cast<size_t>(x)])
            continue;
        if (!spans.empty() && x - spans.back().to <= raster::Damage::kJoinedGap)
            spans.back().to = x + 1;
        else
            spans.push_back({ x, x + 1 });
    }
    return spans;
}

std::string text(const std::vector<Span>& spans)
{
    std::string out;
    for (const Span& span : spans)
        out += "[" + std::to_string(span.from) + "," + std::to_string(span.to) + ")";
    return out;
}

// Whether `row` holds the pixels of `added` as it should; `exact` when it has to hold no more.
::testing::AssertionResult holds(const std::vector<Span>& row, const std::vector<bool>& added, bool exact)
{
    if (row.size() > static_cast<size_t>(raster::Damage::kSpansPerRow))
        return ::testing::AssertionFailure() << "too many spans: " << text(row);
    if (exact && text(row) != text(closedUnion(added)))
        return ::testing::AssertionFailure() << text(row) << ", expected " << text(closedUnion(added));
    for (size_t s = 0; s < row.size(); ++s) {
        if (row[s].from >= row[s].to || (s > 0 && row[s].from - row[s - 1].to <= raster::Damage::kJoinedGap))
            return ::testing::AssertionFailure() << "out of order or too close: " << text(row);
    }
    for (int x = 0; x < kWidth; ++x) {
        bool covered = !added[static_cast<size_t>(x)];
        for (const Span& span : row)
            covered = covered || (x >= span.from && x < span.to);
        if (!covered)
            return ::testing::AssertionFailure() << "pixel " << x << " left out of " << text(row);
    }
    return ::testing::AssertionSuccess();
}

// Short random spans over a width a few times the gap, so that joins, inserts and overflows all happen.
struct RandomSpans {
    std::mt19937 random { 17 };
    int reach = 0;
    void nextRow() { reach = 60 + static_cast<int>(random() % (kWidth + 60)); }
    Span next()
    {
        const int from = static_cast<int>(random() % static_cast<unsigned>(reach)) - 30;
        return { from, from + 1 + static_cast<int>(random() % 12) };
    }
};

void note(std::vector<bool>& added, int from, int to)
{
    for (int x = std::max(from, 0); x < std::min(to, kWidth); ++x)
        added[static_cast<size_t>(x)] = true;
}

} // namespace

TEST(Damage, ARowHoldsTheSpansAddedInAnyOrder)
{
    RandomSpans spans;
    for (int sequence = 0; sequence < 2000; ++sequence) {
        SCOPED_TRACE(sequence);
        raster::Damage damage;
        damage.reset(kWidth, 3);
        std::vector<bool> added(kWidth, false);
        bool overflowed = false;
        spans.nextRow();
        const int count = 1 + static_cast<int>(spans.random() % 30);
        for (int i = 0; i < count; ++i) {
            const Span span = spans.next();
            damage.addSpan(1, span.from, span.to);
            note(added, span.from, span.to);
            overflowed = overflowed || closedUnion(added).size() > static_cast<size_t>(raster::Damage::kSpansPerRow);
            ASSERT_TRUE(holds(rowOf(damage, 1), added, !overflowed));
        }
        EXPECT_TRUE(rowOf(damage, 0).empty());
        EXPECT_TRUE(rowOf(damage, 2).empty());
        EXPECT_EQ(damage.top(), damage.empty() ? 0 : 1);
    }
}

TEST(Damage, ARowOfAnotherAddsAtOnceWhatItsSpansAddOneByOne)
{
    RandomSpans spans;
    for (int sequence = 0; sequence < 2000; ++sequence) {
        SCOPED_TRACE(sequence);
        raster::Damage source, damage;
        source.reset(kWidth, 1);
        damage.reset(kWidth, 3);
        std::vector<bool> added(kWidth, false);
        spans.nextRow();
        for (int i = static_cast<int>(spans.random() % 16); i > 0; --i) {
            const Span span = spans.next();
            damage.addSpan(1, span.from, span.to);
            note(added, span.from, span.to);
        }
        bool overflowed = closedUnion(added).size() > static_cast<size_t>(raster::Damage::kSpansPerRow);
        for (int i = static_cast<int>(spans.random() % 32); i > 0; --i) {
            const Span span = spans.next();
            source.addSpan(0, span.from, span.to);
        }
        const int dx = static_cast<int>(spans.random() % 41) - 20;
        const int left = static_cast<int>(spans.random() % 100) - 10, right = kWidth - static_cast<int>(spans.random() % 100);
        for (const Span* span = source.rowBegin(0); span != source.rowEnd(0); ++span) {
            note(added, std::max(span->from + dx, left), std::min(span->to + dx, right));
            overflowed = overflowed || closedUnion(added).size() > static_cast<size_t>(raster::Damage::kSpansPerRow);
        }
        damage.addSpans(1, source.rowBegin(0), source.rowEnd(0), dx, left, right);
        ASSERT_TRUE(holds(rowOf(damage, 1), added, !overflowed));
        EXPECT_EQ(damage.empty(), rowOf(damage, 1).empty());
    }
}

TEST(Damage, OneSpanTooManyJoinsTheClosestNeighbours)
{
    raster::Damage damage;
    damage.reset(kWidth, 1);
    // Sixteen spans 20 apart, the gap after the sixth one pixel narrower.
    for (int i = 0; i < raster::Damage::kSpansPerRow; ++i) {
        const int from = i * 22 - (i > 5 ? 1 : 0);
        damage.addSpan(0, from, from + 2);
    }
    ASSERT_EQ(rowOf(damage, 0).size(), static_cast<size_t>(raster::Damage::kSpansPerRow));
    damage.addSpan(0, 390, 392);
    const std::vector<Span> row = rowOf(damage, 0);
    ASSERT_EQ(row.size(), static_cast<size_t>(raster::Damage::kSpansPerRow));
    EXPECT_EQ(row[5].from, 110);
    EXPECT_EQ(row[5].to, 133);
    EXPECT_EQ(row.back().from, 390);
}

TEST(Damage, ARowOfAnotherThatOverflowsJoinsAsOneByOne)
{
    // Ten spans 40 apart, and seven more between them: seventeen, all 18 apart.
    raster::Damage source, atOnce, oneByOne;
    source.reset(kWidth, 1);
    atOnce.reset(kWidth, 1);
    oneByOne.reset(kWidth, 1);
    for (int i = 0; i < 10; ++i) {
        atOnce.addSpan(0, i * 40, i * 40 + 2);
        oneByOne.addSpan(0, i * 40, i * 40 + 2);
    }
    for (int i = 0; i < 7; ++i)
        source.addSpan(0, i * 40 + 15, i * 40 + 17);
    atOnce.addSpans(0, source.rowBegin(0), source.rowEnd(0), 5, 0, kWidth);
    for (const Span* span = source.rowBegin(0); span != source.rowEnd(0); ++span)
        oneByOne.addSpan(0, span->from + 5, span->to + 5);
    EXPECT_EQ(rowOf(atOnce, 0).size(), static_cast<size_t>(raster::Damage::kSpansPerRow));
    EXPECT_EQ(text(rowOf(atOnce, 0)), text(rowOf(oneByOne, 0)));
}

namespace {

// The coverage of every pixel of a width x height surface filled through the polygon.
std::vector<uint32_t> coverageOf(const std::vector<raster::Point>& polygon, int width, int height)
{
    std::vector<uint32_t> coverage(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    raster::Cells cells;
    cells.build(polygon.data(), polygon.size(), height, width);
    for (int y = cells.top(); y < cells.bottom(); ++y) {
        raster::CoverageWalk walk(cells.rowBegin(y), cells.rowEnd(y), 0);
        raster::CoverageRun run;
        while (walk.next(width, run)) {
            for (int x = run.from; x < run.to; ++x)
                coverage[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = run.coverage;
        }
    }
    return coverage;
}

bool heldAt(const raster::Damage& damage, int x, int y)
{
    for (const Span* span = damage.rowBegin(y); span != damage.rowEnd(y); ++span) {
        if (x >= span->from && x < span->to)
            return true;
    }
    return false;
}

} // namespace

// Whatever the two polygons, every pixel whose coverage differs between them is among those a
// sweep from the one to the other adds.
TEST(Damage, ASweepHoldsEveryPixelWhoseCoverageChanges)
{
    constexpr int kSurfaceWidth = 64, kSurfaceHeight = 48;
    std::mt19937 random(29);
    std::uniform_real_distribution<double> across(-20, 84), turn(-0.2, 0.2), nudge(-1.5, 1.5), jump(-40, 40);
    int differing = 0;
    for (int polygonIndex = 0; polygonIndex < 3000; ++polygonIndex) {
        SCOPED_TRACE(polygonIndex);
        const int count = 3 + static_cast<int>(random() % 10);
        std::vector<QPointF> before;
        for (int i = 0; i < count; ++i)
            before.emplace_back(across(random), across(random) * 0.75);
        // Turned about a point, nudged point by point, or (one in eight) moved anywhere.
        const QPointF centre(across(random), across(random));
        const double angle = turn(random);
        const bool anywhere = random() % 8 == 0;
        std::vector<QPointF> after;
        for (const QPointF& point : before) {
            const QPointF offset = point - centre;
            const QPointF turned = centre + QPointF(offset.x() * std::cos(angle) - offset.y() * std::sin(angle),
                                                    offset.x() * std::sin(angle) + offset.y() * std::cos(angle));
            after.push_back(anywhere ? turned + QPointF(jump(random), jump(random)) : turned + QPointF(nudge(random), nudge(random)));
        }
        std::vector<raster::Point> fixedBefore, fixedAfter;
        raster::fixPolygon(before.data(), before.size(), kSurfaceWidth, kSurfaceHeight, fixedBefore);
        raster::fixPolygon(after.data(), after.size(), kSurfaceWidth, kSurfaceHeight, fixedAfter);
        if (fixedBefore.size() != fixedAfter.size() || fixedBefore.empty())
            continue;
        raster::Damage damage;
        damage.reset(kSurfaceWidth, kSurfaceHeight);
        damage.addSweep(fixedBefore.data(), fixedAfter.data(), fixedBefore.size());
        const std::vector<uint32_t> coverageBefore = coverageOf(fixedBefore, kSurfaceWidth, kSurfaceHeight);
        const std::vector<uint32_t> coverageAfter = coverageOf(fixedAfter, kSurfaceWidth, kSurfaceHeight);
        for (int y = 0; y < kSurfaceHeight; ++y) {
            for (int x = 0; x < kSurfaceWidth; ++x) {
                const size_t index = static_cast<size_t>(y) * kSurfaceWidth + static_cast<size_t>(x);
                if (coverageBefore[index] == coverageAfter[index])
                    continue;
                ++differing;
                ASSERT_TRUE(heldAt(damage, x, y)) << "pixel (" << x << ", " << y << ")";
            }
        }
    }
    // The cases do change pixels.
    EXPECT_GT(differing, 100000);
}
