#include "drawing/private/Raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace raster {

namespace {

constexpr int64_t kOne = kSubpixels;
// Shapes reaching beyond the surface are cut this many pixels outside it.
constexpr double kMargin = 4;

Point fixed(const QPointF& point)
{
    return { static_cast<int32_t>(std::lround(point.x() * kOne)), static_cast<int32_t>(std::lround(point.y() * kOne)) };
}

} // namespace

void clipToEdge(const std::vector<QPointF>& in, std::vector<QPointF>& out, ClipEdge edge, double value)
{
    const auto inside = [&](const QPointF& point) {
        switch (edge) {
        case ClipEdge::Left: return point.x() >= value;
        case ClipEdge::Right: return point.x() <= value;
        case ClipEdge::Top: return point.y() >= value;
        case ClipEdge::Bottom: return point.y() <= value;
        }
        return false;
    };
    const auto crossing = [&](const QPointF& a, const QPointF& b) -> QPointF {
        if (edge == ClipEdge::Left || edge == ClipEdge::Right) {
            const double t = (value - a.x()) / (b.x() - a.x());
            return { value, a.y() + t * (b.y() - a.y()) };
        }
        const double t = (value - a.y()) / (b.y() - a.y());
        return { a.x() + t * (b.x() - a.x()), value };
    };
    out.clear();
    if (in.empty())
        return;
    QPointF previous = in.back();
    bool previousInside = inside(previous);
    for (const QPointF& point : in) {
        const bool pointInside = inside(point);
        if (pointInside != previousInside)
            out.push_back(crossing(previous, point));
        if (pointInside)
            out.push_back(point);
        previous = point;
        previousInside = pointInside;
    }
}

void clipToBox(std::vector<QPointF>& polygon, std::vector<QPointF>& scratch, double left, double top, double right,
               double bottom)
{
    clipToEdge(polygon, scratch, ClipEdge::Left, left);
    clipToEdge(scratch, polygon, ClipEdge::Right, right);
    clipToEdge(polygon, scratch, ClipEdge::Top, top);
    clipToEdge(scratch, polygon, ClipEdge::Bottom, bottom);
}

void fixPolygon(const QPointF* points, size_t count, int width, int height, std::vector<Point>& out)
{
    if (count < 3)
        return;
    const double left = -kMargin, top = -kMargin, right = width + kMargin, bottom = height + kMargin;
    bool within = true;
    for (size_t i = 0; i < count && within; ++i)
        within = points[i].x() >= left && points[i].x() <= right && points[i].y() >= top && points[i].y() <= bottom;
    if (within) {
        for (size_t i = 0; i < count; ++i)
            out.push_back(fixed(points[i]));
        return;
    }
    // Kept for the next shape: steady frames allocate nothing.
    static std::vector<QPointF> first, second;
    first.assign(points, points + count);
    clipToBox(first, second, left, top, right, bottom);
    if (first.size() < 3)
        return;
    for (const QPointF& point : first)
        out.push_back(fixed(point));
}

void Cells::clear()
{
    m_top = m_bottom = 0;
    m_raw.clear();
}

void Cells::build(const Point* points, size_t count, int height, int width)
{
    clear();
    m_width = width;
    if (count < 3)
        return;
    int64_t lowest = points[0].y, highest = points[0].y;
    for (size_t i = 1; i < count; ++i) {
        lowest = std::min<int64_t>(lowest, points[i].y);
        highest = std::max<int64_t>(highest, points[i].y);
    }
    m_top = static_cast<int>(std::max<int64_t>(0, floorDivide(lowest, kOne)));
    m_bottom = static_cast<int>(std::min<int64_t>(height, floorDivide(highest + kOne - 1, kOne)));
    if (m_top >= m_bottom) {
        m_top = m_bottom = 0;
        return;
    }
    // Rows by counting (addCell counts each row's cells), then each row's few cells in order of x,
    // one cell per pixel.
    const auto rows = static_cast<size_t>(m_bottom - m_top);
    m_rowStart.assign(rows + 1, 0);
    for (size_t i = 0; i < count; ++i)
        addEdge(points[i], points[(i + 1) % count]);
    m_rowEnd.resize(rows);
    for (size_t row = 0; row < rows; ++row)
        m_rowStart[row + 1] += m_rowStart[row];
    m_sorted.resize(m_raw.size());
    for (size_t row = 0; row < rows; ++row)
        m_rowEnd[row] = m_rowStart[row];
    for (const RawCell& raw : m_raw)
        m_sorted[m_rowEnd[static_cast<size_t>(raw.y - m_top)]++] = raw.cell;
    for (size_t row = 0; row < rows; ++row) {
        Cell* begin = m_sorted.data() + m_rowStart[row];
        Cell* end = m_sorted.data() + m_rowEnd[row];
        for (Cell* i = begin + 1; i < end; ++i) {
            const Cell moving = *i;
            Cell* j = i;
            while (j > begin && (j - 1)->x > moving.x) {
                *j = *(j - 1);
                --j;
            }
            *j = moving;
        }
        Cell* kept = begin;
        for (Cell* i = begin; i < end; ++i) {
            if (kept != begin && (kept - 1)->x == i->x) {
                (kept - 1)->cover += i->cover;
                (kept - 1)->area += i->area;
            } else {
                *kept++ = *i;
            }
        }
        m_rowEnd[row] = static_cast<uint32_t>(kept - m_sorted.data());
    }
}

void Cells::addEdge(Point from, Point to)
{
    if (from.y == to.y)
        return;
    int sign = 1;
    if (from.y > to.y) {
        std::swap(from, to);
        sign = -1;
    }
    const int64_t yTop = std::max<int64_t>(from.y, int64_t(m_top) * kOne);
    const int64_t yBottom = std::min<int64_t>(to.y, int64_t(m_bottom) * kOne);
    if (yTop >= yBottom)
        return;
    const int64_t dx = int64_t(to.x) - from.x, dy = int64_t(to.y) - from.y;
    // Every crossing is worked out from the edge's own ends, so it does not depend on which rows are built.
    const auto xAt = [&](int64_t y) { return from.x + floorDivide((y - from.y) * dx, dy); };
    int64_t x0 = xAt(yTop);
    for (int64_t row = yTop / kOne; row * kOne < yBottom; ++row) {
        const int64_t y0 = std::max(yTop, row * kOne), y1 = std::min(yBottom, (row + 1) * kOne);
        const int64_t x1 = xAt(y1);
        addPiece(static_cast<int>(row), x0, y0 - row * kOne, x1, y1 - row * kOne, sign);
        x0 = x1;
    }
}

void Cells::addPiece(int row, int64_t xFrom, int64_t yFrom, int64_t xTo, int64_t yTo, int sign)
{
    if (yFrom == yTo)
        return;
    const int64_t limit = int64_t(m_width) * kOne;
    // Beyond either side only the height crossed matters: one cell at x = -1 or x = width.
    if (xFrom <= 0 && xTo <= 0) {
        addCell(row, -1, sign * (yTo - yFrom), 0);
        return;
    }
    if (xFrom >= limit && xTo >= limit) {
        addCell(row, m_width, sign * (yTo - yFrom), 0);
        return;
    }
    const auto put = [&](int64_t column, int64_t xs, int64_t ys, int64_t xe, int64_t ye) {
        const int64_t height = ye - ys;
        if (height == 0)
            return;
        if (column < 0)
            addCell(row, -1, sign * height, 0);
        else if (column >= m_width)
            addCell(row, m_width, sign * height, 0);
        else
            addCell(row, column, sign * height, sign * height * ((xs - column * kOne) + (xe - column * kOne)));
    };
    if (xFrom == xTo) {
        put(floorDivide(xFrom, kOne), xFrom, yFrom, xTo, yTo);
        return;
    }
    const int direction = xTo > xFrom ? 1 : -1;
    const auto yAt = [&](int64_t x) { return yFrom + (x - xFrom) * (yTo - yFrom) / (xTo - xFrom); };
    int64_t column = direction > 0 ? floorDivide(xFrom, kOne) : floorDivide(xFrom - 1, kOne);
    const int64_t last = direction > 0 ? floorDivide(xTo - 1, kOne) : floorDivide(xTo, kOne);
    int64_t x = xFrom, y = yFrom;
    // Columns outside the surface are passed in one step, to the crossing of its edge.
    if (direction > 0 && column < 0) {
        const int64_t yEdge = yAt(0);
        put(-1, x, y, 0, yEdge);
        x = 0;
        y = yEdge;
        column = 0;
    } else if (direction < 0 && column >= m_width) {
        const int64_t yEdge = yAt(limit);
        put(m_width, x, y, limit, yEdge);
        x = limit;
        y = yEdge;
        column = m_width - 1;
    }
    while (column != last) {
        if (column < 0 || column >= m_width) {
            put(column, x, y, xTo, yTo);
            return;
        }
        const int64_t boundary = direction > 0 ? (column + 1) * kOne : column * kOne;
        const int64_t yBoundary = yAt(boundary);
        put(column, x, y, boundary, yBoundary);
        x = boundary;
        y = yBoundary;
        column += direction;
    }
    put(column, x, y, xTo, yTo);
}

bool blendKeeps(uint32_t colour)
{
    static const std::array<bool, 256> keeps = [] {
        std::array<bool, 256> table {};
        for (uint32_t value = 0; value < 256; ++value) {
            bool all = true;
            for (uint32_t coverage = 0; coverage < 256 && all; ++coverage)
                all = blendCovered(value, coverage, value) == value;
            table[value] = all;
        }
        return table;
    }();
    return keeps[colour >> 24] && keeps[(colour >> 16) & 0xff] && keeps[(colour >> 8) & 0xff] && keeps[colour & 0xff];
}

void fillRuns(CoverageWalk& walk, int to, uint32_t colour, bool keeps, uint32_t* row)
{
    CoverageRun run;
    while (walk.next(to, run)) {
        if (run.coverage == 255) {
            std::fill(row + run.from, row + run.to, colour);
        } else if (run.coverage != 0) {
            for (int x = run.from; x < run.to; ++x) {
                if (!keeps || row[x] != colour)
                    row[x] = blendCovered(colour, run.coverage, row[x]);
            }
        }
    }
}

void fillRow(const Cell* begin, const Cell* end, int x0, int x1, uint32_t colour, uint32_t* row)
{
    CoverageWalk walk(begin, end, x0);
    fillRuns(walk, x1, colour, false, row);
}

namespace {

// d = s·a + d·(1 - alpha(s·a)), premultiplied.
inline uint32_t layPixel(uint32_t source, uint32_t opacity, uint32_t destination)
{
    const uint32_t seen = byteMultiply(source, opacity);
    return seen + byteMultiply(destination, 255 - (seen >> 24));
}

#ifdef __SSE2__
// x · a / 255 on 16-bit lanes, with the rounding of byteMultiply.
inline __m128i divide255(__m128i product)
{
    const __m128i half = _mm_set1_epi16(0x80);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(product, _mm_srli_epi16(product, 8)), half), 8);
}

// layPixel for two pixels widened to 16-bit lanes, `opacity` holding each pixel's opacity in its four lanes.
inline __m128i layWide(__m128i source, __m128i opacity, __m128i destination)
{
    const __m128i full = _mm_set1_epi16(255);
    const __m128i seen = divide255(_mm_mullo_epi16(source, opacity));
    const __m128i seenAlpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(seen, 0xff), 0xff);
    return _mm_add_epi16(seen, divide255(_mm_mullo_epi16(destination, _mm_sub_epi16(full, seenAlpha))));
}
#endif

} // namespace

void layRow(const uint32_t* source, const uint32_t* mask, uint32_t* destination, int count)
{
    if (!mask) {
        for (int i = 0; i < count; ++i) {
            const uint32_t alpha = source[i] >> 24;
            if (alpha == 255)
                destination[i] = source[i];
            else if (source[i] != 0)
                destination[i] = source[i] + byteMultiply(destination[i], 255 - alpha);
        }
        return;
    }
    int i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i colour = _mm_set1_epi32(0x00ffffff);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xff000000u));
    const __m128i greyWeights = _mm_set_epi16(0, 11, 16, 5, 0, 11, 16, 5);
    const __m128i full = _mm_set1_epi16(255);
    // Pictures are mostly flat colour: four pixels like the last four give the same result.
    __m128i lastSource = zero, lastMask = zero, lastDestination = zero, lastResult = zero;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + i));
        // Transparent source: nothing to lay over.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xffff)
            continue;
        // Black mask over an opaque source: the source as it is.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(m, colour), zero)) == 0xffff
            && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alpha), alpha)) == 0xffff) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), s);
            continue;
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + i));
        const __m128i same = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi32(s, lastSource), _mm_cmpeq_epi32(m, lastMask)),
                                           _mm_cmpeq_epi32(d, lastDestination));
        if (_mm_movemask_epi8(same) == 0xffff) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), lastResult);
            continue;
        }
        // Grey levels: weighted channel sums, each pixel's pair of partial sums added up.
        __m128i greyLow = _mm_madd_epi16(_mm_unpacklo_epi8(m, zero), greyWeights);
        __m128i greyHigh = _mm_madd_epi16(_mm_unpackhi_epi8(m, zero), greyWeights);
        greyLow = _mm_srli_epi32(_mm_add_epi32(greyLow, _mm_shuffle_epi32(greyLow, 0xb1)), 5);
        greyHigh = _mm_srli_epi32(_mm_add_epi32(greyHigh, _mm_shuffle_epi32(greyHigh, 0xb1)), 5);
        const __m128i opacity = _mm_sub_epi16(full, _mm_packs_epi32(greyLow, greyHigh));
        const __m128i opacityLow = _mm_unpacklo_epi16(opacity, opacity);
        const __m128i opacityHigh = _mm_unpackhi_epi16(opacity, opacity);

        const __m128i low = layWide(_mm_unpacklo_epi8(s, zero), opacityLow, _mm_unpacklo_epi8(d, zero));
        const __m128i high = layWide(_mm_unpackhi_epi8(s, zero), opacityHigh, _mm_unpackhi_epi8(d, zero));
        lastSource = s;
        lastMask = m;
        lastDestination = d;
        lastResult = _mm_packus_epi16(low, high);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), lastResult);
    }
#endif
    for (; i < count; ++i)
        destination[i] = layPixel(source[i], maskOpacity(mask[i]), destination[i]);
}

void Damage::reset(int width, int height)
{
    m_width = width;
    m_height = height;
    m_spans.resize(static_cast<size_t>(height) * kSpansPerRow);
    m_counts.assign(static_cast<size_t>(height), 0);
    m_top = m_bottom = 0;
}

void Damage::clear()
{
    for (int y = m_top; y < m_bottom; ++y)
        m_counts[static_cast<size_t>(y)] = 0;
    m_top = m_bottom = 0;
}

void Damage::swap(Damage& other)
{
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
    std::swap(m_top, other.m_top);
    std::swap(m_bottom, other.m_bottom);
    m_spans.swap(other.m_spans);
    m_counts.swap(other.m_counts);
}

void Damage::includeRow(int y)
{
    if (m_top >= m_bottom) {
        m_top = y;
        m_bottom = y + 1;
    } else {
        m_top = std::min(m_top, y);
        m_bottom = std::max(m_bottom, y + 1);
    }
}

void Damage::addSpan(int y, int from, int to)
{
    if (y < 0 || y >= m_height)
        return;
    from = std::max(from, 0);
    to = std::min(to, m_width);
    if (from >= to)
        return;
    const size_t index = static_cast<size_t>(y);
    const int count = m_counts[index];
    Span* row = m_spans.data() + index * kSpansPerRow;
    if (count == 0) {
        row[0] = { from, to };
        m_counts[index] = 1;
        includeRow(y);
        return;
    }
    // Spans come mostly in order of x: one past the last is joined to it or put after it.
    Span& last = row[count - 1];
    if (from >= last.from && (from <= last.to + kJoinedGap || count < kSpansPerRow)) {
        if (from <= last.to + kJoinedGap) {
            last.to = std::max(last.to, to);
        } else {
            row[count] = { from, to };
            m_counts[index] = static_cast<uint8_t>(count + 1);
        }
        return;
    }
    // The row's spans are in order, each more than kJoinedGap from the next: the new one joins
    // those it comes within the gap of, first..reached-1, or goes in before `first`.
    int first = 0;
    while (first < count && row[first].to + kJoinedGap < from)
        ++first;
    int reached = first;
    while (reached < count && row[reached].from <= to + kJoinedGap) {
        from = std::min(from, row[reached].from);
        to = std::max(to, row[reached].to);
        ++reached;
    }
    if (reached > first) {
        row[first] = { from, to };
        std::copy(row + reached, row + count, row + first + 1);
        m_counts[index] = static_cast<uint8_t>(count - (reached - first - 1));
        return;
    }
    if (count < kSpansPerRow) {
        std::copy_backward(row + first, row + count, row + count + 1);
        row[first] = { from, to };
        m_counts[index] = static_cast<uint8_t>(count + 1);
        return;
    }
    // One too many: of all of them, the two closest neighbours are joined.
    Span spans[kSpansPerRow + 1];
    std::copy(row, row + first, spans);
    spans[first] = { from, to };
    std::copy(row + first, row + count, spans + first + 1);
    int closest = 0;
    for (int i = 1; i < kSpansPerRow; ++i) {
        if (spans[i + 1].from - spans[i].to < spans[closest + 1].from - spans[closest].to)
            closest = i;
    }
    spans[closest].to = spans[closest + 1].to;
    std::copy(spans + closest + 2, spans + kSpansPerRow + 1, spans + closest + 1);
    std::copy(spans, spans + kSpansPerRow, row);
}

void Damage::copyRow(const Damage& other, int y)
{
    const size_t index = static_cast<size_t>(y);
    const int count = other.m_counts[index];
    if (count == 0)
        return;
    std::copy(other.rowBegin(y), other.rowEnd(y), m_spans.data() + index * kSpansPerRow);
    m_counts[index] = static_cast<uint8_t>(count);
    includeRow(y);
}

void Damage::addRect(int left, int top, int right, int bottom)
{
    top = std::max(top, 0);
    bottom = std::min(bottom, m_height);
    for (int y = top; y < bottom; ++y)
        addSpan(y, left, right);
}

void Damage::addEach(int y, const Span* begin, const Span* end, int dx, int left, int right)
{
    for (const Span* span = begin; span != end; ++span)
        addSpan(y, std::max(span->from + dx, left), std::min(span->to + dx, right));
}

void Damage::addSpans(int y, const Span* begin, const Span* end, int dx, int left, int right)
{
    if (y < 0 || y >= m_height || begin == end)
        return;
    if (end - begin > kSpansPerRow) {
        addEach(y, begin, end, dx, left, right);
        return;
    }
    left = std::max(left, 0);
    right = std::min(right, m_width);
    const size_t index = static_cast<size_t>(y);
    const int count = m_counts[index];
    Span* row = m_spans.data() + index * kSpansPerRow;
    // Both rows in order of x in one pass, joined where they come within the gap.
    Span merged[2 * kSpansPerRow];
    int mergedCount = 0;
    const auto put = [&](int from, int to) {
        if (mergedCount > 0 && from <= merged[mergedCount - 1].to + kJoinedGap)
            merged[mergedCount - 1].to = std::max(merged[mergedCount - 1].to, to);
        else
            merged[mergedCount++] = { from, to };
    };
    const Span* held = row;
    const Span* heldEnd = row + count;
    for (const Span* span = begin; span != end; ++span) {
        const int from = std::max(span->from + dx, left), to = std::min(span->to + dx, right);
        if (from >= to)
            continue;
        for (; held != heldEnd && held->from <= from; ++held)
            put(held->from, held->to);
        put(from, to);
    }
    for (; held != heldEnd; ++held)
        put(held->from, held->to);
    if (mergedCount > kSpansPerRow) {
        addEach(y, begin, end, dx, left, right);
        return;
    }
    std::copy(merged, merged + mergedCount, row);
    m_counts[index] = static_cast<uint8_t>(mergedCount);
    if (count == 0 && mergedCount > 0)
        includeRow(y);
}

void Damage::addMoved(const Damage& other, int dx, int dy, int left, int top, int right, int bottom)
{
    for (int y = other.m_top; y < other.m_bottom; ++y) {
        const int to = y + dy;
        if (to >= top && to < bottom)
            addSpans(to, other.rowBegin(y), other.rowEnd(y), dx, left, right);
    }
}

void Damage::addDifference(const Cells& before, const Cells& after)
{
    const bool hasBefore = !before.empty(), hasAfter = !after.empty();
    if (!hasBefore && !hasAfter)
        return;
    const int top = !hasBefore ? after.top() : !hasAfter ? before.top() : std::min(before.top(), after.top());
    const int bottom = !hasBefore ? after.bottom() : !hasAfter ? before.bottom() : std::max(before.bottom(), after.bottom());
    for (int y = top; y < bottom; ++y) {
        const bool rowBefore = hasBefore && y >= before.top() && y < before.bottom();
        const bool rowAfter = hasAfter && y >= after.top() && y < after.bottom();
        addRowDifference(y, rowBefore ? before.rowBegin(y) : nullptr, rowBefore ? before.rowEnd(y) : nullptr,
                         rowAfter ? after.rowBegin(y) : nullptr, rowAfter ? after.rowEnd(y) : nullptr);
    }
}

void Damage::addSweep(const Point* before, const Point* after, size_t count)
{
    // Each point moving in a straight line to its place in the other polygon turns the one into the
    // other. A pixel's winding, so its coverage, changes only where an edge passes on the way: inside
    // the convex hull of the edge's two places. A fill's cells lie within a subpixel of its edges,
    // and a pixel no edge comes near takes its coverage from the winding alone.
    for (size_t i = 0; i < count; ++i) {
        const size_t next = (i + 1) % count;
        addHull({ before[i], before[next], after[i], after[next] });
    }
}

void Damage::addHull(const Point (&corners)[4])
{
    // The cells of an edge lie within a subpixel of it: a few subpixels around the hull hold them.
    constexpr double kMargin = 4;
    double top = corners[0].y, bottom = top, left = corners[0].x, right = left;
    for (const Point& corner : corners) {
        top = std::min<double>(top, corner.y);
        bottom = std::max<double>(bottom, corner.y);
        left = std::min<double>(left, corner.x);
        right = std::max<double>(right, corner.x);
    }
    if ((left - kMargin) / kOne >= m_width || (right + kMargin) / kOne < 0)
        return;
    const int firstRow = std::max(0, static_cast<int>(std::floor((top - kMargin) / kOne)));
    const int lastRow = std::min(m_height - 1, static_cast<int>(std::floor((bottom + kMargin) / kOne)));
    if (firstRow > lastRow)
        return;

    // Each row of the hull reaches as far as the segments between its corners do within the row.
    std::vector<double>& rowLeft = m_hullLeft;
    std::vector<double>& rowRight = m_hullRight;
    const auto rows = static_cast<size_t>(lastRow - firstRow + 1);
    rowLeft.assign(rows, std::numeric_limits<double>::infinity());
    rowRight.assign(rows, -std::numeric_limits<double>::infinity());
    // Going round the edge's two places (0 1 3 2), a hull turning one way only has those four sides;
    // the diagonals lie inside it.
    const auto turn = [&](int a, int b, int c) {
        return (int64_t(corners[b].x) - corners[a].x) * (int64_t(corners[c].y) - corners[b].y)
            - (int64_t(corners[b].y) - corners[a].y) * (int64_t(corners[c].x) - corners[b].x);
    };
    const int64_t turns[4] = { turn(0, 1, 3), turn(1, 3, 2), turn(3, 2, 0), turn(2, 0, 1) };
    const bool convex = std::all_of(turns, turns + 4, [](int64_t t) { return t >= 0; })
        || std::all_of(turns, turns + 4, [](int64_t t) { return t <= 0; });
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            if (convex && i + j == 3)
                continue;
            const bool downward = corners[i].y <= corners[j].y;
            const Point upper = downward ? corners[i] : corners[j], lower = downward ? corners[j] : corners[i];
            const int from = std::max(firstRow, static_cast<int>(std::floor((upper.y - kMargin) / kOne)));
            const int to = std::min(lastRow, static_cast<int>(std::floor((lower.y + kMargin) / kOne)));
            const double slope = upper.y == lower.y ? 0 : double(lower.x - upper.x) / double(lower.y - upper.y);
            // A level segment reaches from one end to the other on its row.
            const double reach = upper.y == lower.y ? std::abs(double(lower.x - upper.x)) : 0;
            const double start = upper.y == lower.y ? std::min(upper.x, lower.x) : upper.x;
            for (int row = from; row <= to; ++row) {
                const double y0 = std::max(double(row) * kOne - kMargin, double(upper.y));
                const double y1 = std::min(double(row + 1) * kOne + kMargin, double(lower.y));
                const double x0 = start + slope * (y0 - upper.y), x1 = start + slope * (y1 - upper.y);
                const auto index = static_cast<size_t>(row - firstRow);
                rowLeft[index] = std::min(rowLeft[index], std::min(x0, x1));
                rowRight[index] = std::max(rowRight[index], std::max(x0, x1) + reach);
            }
        }
    }
    for (size_t index = 0; index < rows; ++index) {
        if (rowLeft[index] <= rowRight[index]) {
            addSpan(firstRow + static_cast<int>(index), static_cast<int>(std::floor((rowLeft[index] - kMargin) / kOne)),
                    static_cast<int>(std::floor((rowRight[index] + kMargin) / kOne)) + 1);
        }
    }
}

void Damage::addPartial(const Cells& cells, const Damage& within)
{
    const int top = std::max(cells.top(), within.top()), bottom = std::min(cells.bottom(), within.bottom());
    for (int y = top; y < bottom; ++y) {
        const Span* span = within.rowBegin(y);
        const Span* spansEnd = within.rowEnd(y);
        if (span == spansEnd)
            continue;
        CoverageWalk walk(cells.rowBegin(y), cells.rowEnd(y), span->from);
        for (; span != spansEnd; ++span) {
            walk.skipTo(span->from);
            CoverageRun run;
            while (walk.next(span->to, run)) {
                if (run.coverage != 0 && run.coverage != 255)
                    addSpan(y, run.from, run.to);
            }
        }
    }
}

void Damage::addRowDifference(int y, const Cell* before, const Cell* beforeEnd, const Cell* after, const Cell* afterEnd)
{
    int spanFrom = -1, spanTo = -1;
    const auto mark = [&](int from, int to) {
        if (spanFrom >= 0 && from <= spanTo) {
            spanTo = std::max(spanTo, to);
            return;
        }
        if (spanFrom >= 0)
            addSpan(y, spanFrom, spanTo);
        spanFrom = from;
        spanTo = to;
    };
    // Both rows as runs side by side: each stretch where neither run ends is compared once.
    CoverageWalk walkBefore(before, beforeEnd, 0), walkAfter(after, afterEnd, 0);
    CoverageRun runBefore, runAfter;
    walkBefore.next(m_width, runBefore);
    walkAfter.next(m_width, runAfter);
    for (int x = 0; x < m_width;) {
        const int to = std::min(runBefore.to, runAfter.to);
        if (runBefore.coverage != runAfter.coverage)
            mark(x, to);
        x = to;
        if (runBefore.to == to)
            walkBefore.next(m_width, runBefore);
        if (runAfter.to == to)
            walkAfter.next(m_width, runAfter);
    }
    if (spanFrom >= 0)
        addSpan(y, spanFrom, spanTo);
}

} // namespace raster
