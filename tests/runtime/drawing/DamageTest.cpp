#include "drawing/private/Raster.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(Damage, ARowHoldsTheSpansAddedInAnyOrder)
{
    std::mt19937 random(17);
    for (int sequence = 0; sequence < 2000; ++sequence) {
        SCOPED_TRACE(sequence);
        raster::Damage damage;
        damage.reset(kWidth, 3);
        std::vector<bool> added(kWidth, false);
        bool overflowed = false;
        const int count = 1 + static_cast<int>(random() % 30);
        // Short spans over a width a few times the gap, so joins, inserts and overflows all happen.
        const int reach = 60 + static_cast<int>(random() % (kWidth + 60));
        for (int i = 0; i < count; ++i) {
            const int from = static_cast<int>(random() % static_cast<unsigned>(reach)) - 30;
            const int to = from + 1 + static_cast<int>(random() % 12);
            damage.addSpan(1, from, to);
            for (int x = std::max(from, 0); x < std::min(to, kWidth); ++x)
                added[static_cast<size_t>(x)] = true;
            const std::vector<Span> row = rowOf(damage, 1);
            overflowed = overflowed || closedUnion(added).size() > static_cast<size_t>(raster::Damage::kSpansPerRow);
            ASSERT_LE(row.size(), static_cast<size_t>(raster::Damage::kSpansPerRow));
            if (!overflowed) {
                ASSERT_EQ(text(row), text(closedUnion(added)));
            }
            for (size_t s = 0; s < row.size(); ++s) {
                ASSERT_LT(row[s].from, row[s].to) << text(row);
                if (s > 0) {
                    ASSERT_GT(row[s].from - row[s - 1].to, raster::Damage::kJoinedGap) << text(row);
                }
            }
            for (int x = 0; x < kWidth; ++x) {
                if (!added[static_cast<size_t>(x)])
                    continue;
                bool covered = false;
                for (const Span& span : row)
                    covered = covered || (x >= span.from && x < span.to);
                ASSERT_TRUE(covered) << "pixel " << x << " of " << text(row);
            }
        }
        EXPECT_TRUE(rowOf(damage, 0).empty());
        EXPECT_TRUE(rowOf(damage, 2).empty());
        EXPECT_EQ(damage.top(), damage.empty() ? 0 : 1);
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
