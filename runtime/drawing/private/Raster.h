#pragma once

// Internal to the runtime: the antialiased filling of polygons, and the rows of pixels a
// drawing changes.
//
// The algorithm is the "area and cover cells" scanline rasteriser (the accumulation method of
// libart and FreeType's ftgrays): each pixel an edge passes through gets a cell holding the
// signed height the edge crosses in it (cover) and that height weighted by where it crosses
// (area); along a row the covers are summed, every pixel between cells has the coverage of the
// running sum, and a cell's own pixel that sum less its area. Coverage is the exact area of each
// pixel inside the outline in whole 1/256ths of a pixel, filled by the nonzero winding rule, so
// a pixel gets the same coverage whichever part of a shape is filled and in whatever order: a
// redraw of a few pixels matches a full one.
//
// Why the runtime has its own: cells can be compared, so the pixels two fills of a shape differ
// in come from the cells alone, with no pixel drawn (Damage::addDifference); and as its cells lie
// within a subpixel of the outline, those of an outline whose points moved come from the points
// alone (Damage::addSweep). Neither Qt's nor FreeType's rasteriser says which pixels a change
// touches. Both give bit-identical redraws through clip boxes (0 differing of about 40,000 edge
// pixels over 3,000 random polygons), but on the frame's own shapes (3 discs, the star, 6
// sectors, 1920 x 1080) whole fills cost 16.9 M (Qt) and 7.6 M (FreeType) instructions at 720
// wide against 3.2 M here, and 68 M / 26 M against 6.9 M at 1890; clipped to a tick's changed
// rectangles they are 10 to 2,400 times slower, since every clipped call walks the whole outline.

#include <QPointF>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace raster {

inline constexpr int kSubpixels = 256;

// numerator / denominator rounded down, not towards zero.
inline int64_t floorDivide(int64_t numerator, int64_t denominator)
{
    int64_t quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0)))
        --quotient;
    return quotient;
}

struct Point {
    int32_t x;
    int32_t y;
    bool operator==(const Point&) const = default;
};

// The sides of a clipping box.
enum class ClipEdge { Left, Right, Top, Bottom };

// Keeps the part of a closed polygon on the inner side of one side of a clipping box
// (Sutherland-Hodgman). Every point on that side keeps its winding number, so either fill rule
// gives the same pixels.
void clipToEdge(const std::vector<QPointF>& in, std::vector<QPointF>& out, ClipEdge edge, double value);
// Keeps the part of a closed polygon inside the box, cutting by its left, right, top and bottom
// sides in that order; `scratch` is room for the steps between.
void clipToBox(std::vector<QPointF>& polygon, std::vector<QPointF>& scratch, double left, double top, double right,
               double bottom);

// Puts `count` points given in device pixels into `out` as fixed-point points, first cut to
// a box a little larger than the width x height surface (so huge shapes cost nothing outside
// it and stay within the fixed-point range). Appends nothing for a polygon left with fewer
// than three points.
void fixPolygon(const QPointF* points, size_t count, int width, int height, std::vector<Point>& out);

// A pixel an outline passes through: the height it crosses (signed, in 1/256ths) and that
// height weighted by where in the pixel it crosses.
struct Cell {
    int32_t x;
    int32_t cover;
    int32_t area;
};

// The cells of one closed polygon on the rows it covers, row by row, each row in order of x.
// Cells left of the surface are gathered at x = -1, those right of it at x = width. Keeps its
// buffers from one build to the next.
class Cells {
public:
    void build(const Point* points, size_t count, int height, int width);
    void clear();

    int top() const { return m_top; }
    int bottom() const { return m_bottom; }
    bool empty() const { return m_top >= m_bottom; }
    const Cell* rowBegin(int y) const { return m_sorted.data() + m_rowStart[static_cast<size_t>(y - m_top)]; }
    const Cell* rowEnd(int y) const { return m_sorted.data() + m_rowEnd[static_cast<size_t>(y - m_top)]; }

private:
    struct RawCell {
        int32_t y;
        Cell cell;
    };
    void addEdge(Point from, Point to);
    void addPiece(int row, int64_t xFrom, int64_t yFrom, int64_t xTo, int64_t yTo, int sign);
    void addCell(int row, int64_t column, int64_t cover, int64_t area)
    {
        m_raw.push_back({ row, { static_cast<int32_t>(column), static_cast<int32_t>(cover), static_cast<int32_t>(area) } });
        ++m_rowStart[static_cast<size_t>(row - m_top) + 1];
    }

    int m_top = 0;
    int m_bottom = 0;
    int m_width = 0;
    std::vector<RawCell> m_raw;
    std::vector<Cell> m_sorted;
    std::vector<uint32_t> m_rowStart;
    std::vector<uint32_t> m_rowEnd;
};

// Coverage 0 to 255 from a doubled area in 1/256ths of a pixel squared. The magnitude is what
// counts, and any winding beyond one covers whole: the nonzero winding rule.
inline uint32_t coverageOf(int64_t doubledArea)
{
    const int64_t magnitude = doubledArea < 0 ? -doubledArea : doubledArea;
    const int64_t level = (magnitude * 255 + kSubpixels * kSubpixels) >> 17;
    return level > 255 ? 255u : static_cast<uint32_t>(level);
}

// A run of pixels of one coverage on a row.
struct CoverageRun {
    int from;
    int to;
    uint32_t coverage;
};

// One row of a fill as runs of equal coverage, left to right: between two cells every pixel has
// the coverage of the height crossed so far; a cell's own pixel takes its area off that.
class CoverageWalk {
public:
    // Starts at x = `from`; cells left of it (those gathered at x = -1 included) only add their height.
    CoverageWalk(const Cell* begin, const Cell* end, int from)
        : m_cell(begin)
        , m_end(end)
        , m_x(from)
    {
        skipCells(from);
    }

    // Moves on to `x`, at or right of where the walk is.
    void skipTo(int x)
    {
        if (x <= m_x)
            return;
        skipCells(x);
        m_x = x;
    }

    // The next run, ending at `limit` at the latest; false once the walk is there.
    bool next(int limit, CoverageRun& run)
    {
        if (m_x >= limit)
            return false;
        if (m_cell == m_end || m_cell->x > m_x) {
            const int to = m_cell != m_end && m_cell->x < limit ? m_cell->x : limit;
            run = { m_x, to, coverageOf(m_running * 2 * kSubpixels) };
        } else {
            run = { m_x, m_x + 1, coverageOf((m_running + m_cell->cover) * 2 * kSubpixels - m_cell->area) };
            m_running += (m_cell++)->cover;
        }
        m_x = run.to;
        return true;
    }

private:
    void skipCells(int x)
    {
        while (m_cell != m_end && m_cell->x < x)
            m_running += (m_cell++)->cover;
    }

    const Cell* m_cell;
    const Cell* m_end;
    int m_x;
    int64_t m_running = 0;
};

// x · a / 255 on each byte of a premultiplied pixel, rounded as Qt's raster engine does.
inline uint32_t byteMultiply(uint32_t x, uint32_t a)
{
    uint32_t t = (x & 0xff00ffu) * a;
    t = ((t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = (x + ((x >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return x | t;
}

// Opacity a mask pixel gives: 255 - its grey level (Qt's qGray weights).
inline uint32_t maskOpacity(uint32_t mask)
{
    const uint32_t red = (mask >> 16) & 0xff, green = (mask >> 8) & 0xff, blue = mask & 0xff;
    return 255 - ((red * 11 + green * 16 + blue * 5) >> 5);
}

// An opaque colour laid over a pixel with the given coverage.
inline uint32_t blendCovered(uint32_t colour, uint32_t coverage, uint32_t destination)
{
    return byteMultiply(colour, coverage) + byteMultiply(destination, 255 - coverage);
}

// Whether an opaque colour laid at any coverage over itself gives itself back (true of 232 of
// the 256 values of a channel, 0 and 255 among them).
bool blendKeeps(uint32_t colour);

// Fills pixels x0..x1-1 of one row with an opaque colour through the coverage the row's cells give.
void fillRow(const Cell* begin, const Cell* end, int x0, int x1, uint32_t colour, uint32_t* row);
// Fills the walk's runs up to `to` as fillRow does; with `keeps` (blendKeeps(colour)) the
// pixels that hold the colour already are left as they are.
void fillRuns(CoverageWalk& walk, int to, uint32_t colour, bool keeps, uint32_t* row);

// A row x0..x1-1 of a source seen through its mask (opacity 255 minus the mask's grey level),
// laid over the destination row; without a mask the source is laid as it is.
void layRow(const uint32_t* source, const uint32_t* mask, uint32_t* destination, int count);

// Rows of spans of pixels: the pixels a drawing changes. A row keeps a few spans; beyond them
// the closest are joined, so the spans may cover more than was added, never less.
class Damage {
public:
    struct Span {
        int32_t from;
        int32_t to;
    };
    static constexpr int kSpansPerRow = 16;
    // Spans closer than this are joined: a few more pixels cost less than another span.
    static constexpr int kJoinedGap = 16;

    void reset(int width, int height);
    void clear();
    bool empty() const { return m_top >= m_bottom; }
    int top() const { return m_top; }
    int bottom() const { return m_bottom; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    const Span* rowBegin(int y) const { return m_spans.data() + static_cast<size_t>(y) * kSpansPerRow; }
    const Span* rowEnd(int y) const { return rowBegin(y) + m_counts[static_cast<size_t>(y)]; }

    void addSpan(int y, int from, int to);
    void addRect(int left, int top, int right, int bottom);
    // Row y of `other` (of the same size) into this one's row y, which holds nothing yet.
    void copyRow(const Damage& other, int y);
    // Adds the spans begin..end, moved right by dx and cut to left..right-1, to row y: what adding
    // each in turn gives, unless the row overflows, when other neighbours may be the ones joined.
    void addSpans(int y, const Span* begin, const Span* end, int dx, int left, int right);
    // Adds `other` moved by (dx, dy), cut to the rectangle given.
    void addMoved(const Damage& other, int dx, int dy, int left, int top, int right, int bottom);
    // Adds what changes between two fills of one colour through these cells.
    void addDifference(const Cells& before, const Cells& after);
    // Adds the pixels whose coverage may differ between fills of two polygons of `count` points
    // each, the one's points taken one by one to the other's (a few more than addDifference finds).
    void addSweep(const Point* before, const Point* after, size_t count);
    // Adds the pixels of `within` that a fill through these cells covers only in part.
    void addPartial(const Cells& cells, const Damage& within);
    void swap(Damage& other);

private:
    void addRowDifference(int y, const Cell* before, const Cell* beforeEnd, const Cell* after, const Cell* afterEnd);
    // addSpans one span at a time: more than a row holds, and addSpan picks which to join.
    void addEach(int y, const Span* begin, const Span* end, int dx, int left, int right);
    // Adds the pixels within a few subpixels of the convex hull of the four points.
    void addHull(const Point (&corners)[4]);
    // Widens the rows held to take in row y.
    void includeRow(int y);

    int m_width = 0;
    int m_height = 0;
    int m_top = 0;
    int m_bottom = 0;
    std::vector<Span> m_spans;
    std::vector<uint8_t> m_counts;
    // addHull's reach on each row of a hull, kept so that steady frames allocate nothing.
    std::vector<double> m_hullLeft;
    std::vector<double> m_hullRight;
};

} // namespace raster
