#include "drawing/private/PictureRecord.h"

#include "drawing/Picture.h"
#include "drawing/private/ColdRows.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

int rightOf(const QRect& rect)
{
    return rect.x() + rect.width();
}

int bottomOf(const QRect& rect)
{
    return rect.y() + rect.height();
}

// The columns a rectangle covers on row y; on a row outside it, an empty stretch left of every pixel.
struct RowCover {
    int from;
    int to;
};

RowCover rowCover(const QRect& rect, int y)
{
    if (y < rect.y() || y >= bottomOf(rect))
        return { std::numeric_limits<int>::min(), std::numeric_limits<int>::min() };
    return { rect.x(), rightOf(rect) };
}

// The pixel a position in 1/256ths of a pixel lies in.
int64_t pixelFloor(int64_t subpixels)
{
    return raster::floorDivide(subpixels, raster::kSubpixels);
}

} // namespace

void PictureRecord::Record::clear()
{
    operations.clear();
    points.clear();
    bounds = QRect();
}

PictureRecord::PictureRecord(QImage& image, ColdRows* coldRows)
    : m_image(image)
    , m_coldRows(coldRows)
    , m_width(image.width())
    , m_height(image.height())
{
    m_changes.reset(m_width, m_height);
    m_nextChanges.reset(m_width, m_height);
    m_damage.reset(m_width, m_height);
    m_carried.reset(m_width, m_height);
}

PictureRecord::~PictureRecord()
{
    forgetSources(m_pending);
}

void PictureRecord::addReader(PictureRecord* reader)
{
    if (std::find(m_readers.begin(), m_readers.end(), reader) == m_readers.end())
        m_readers.push_back(reader);
}

void PictureRecord::removeReader(PictureRecord* reader)
{
    m_readers.erase(std::remove(m_readers.begin(), m_readers.end(), reader), m_readers.end());
}

void PictureRecord::forgetSources(Record& record)
{
    for (const Operation& operation : record.operations) {
        if (operation.kind != Operation::Kind::Lay)
            continue;
        operation.source->record().removeReader(this);
        if (operation.mask)
            operation.mask->record().removeReader(this);
    }
}

void PictureRecord::drawReaders()
{
    // A pending lay of these pixels must see them as they are now, before anything else is drawn.
    while (!m_readers.empty()) {
        PictureRecord* reader = m_readers.back();
        reader->render();
        removeReader(reader);
    }
}

bool PictureRecord::add(Operation&& operation)
{
    operation.extent &= QRect(0, 0, m_width, m_height);
    if (operation.extent.isEmpty())
        return false;
    drawReaders();
    // An opaque fill over everything recorded leaves nothing of it to draw.
    if (operation.kind == Operation::Kind::Fill && !m_pending.operations.empty() && operation.extent.contains(m_pending.bounds)) {
        forgetSources(m_pending);
        m_pending.clear();
    }
    m_pending.bounds |= operation.extent;
    m_pending.operations.push_back(std::move(operation));
    return true;
}

void PictureRecord::fill(const QRect& pixels, uint32_t colour)
{
    add({ .kind = Operation::Kind::Fill, .extent = pixels, .colour = colour });
}

bool PictureRecord::shape(Object2D& shape, const QTransform& placement, double pixelRatio, QRect& touched)
{
    if (!shape.placeable())
        return false;
    drawReaders();
    m_touched = &touched;
    shape.place(placement, pixelRatio, *this);
    m_touched = nullptr;
    return true;
}

void PictureRecord::fill(const QPointF* points, size_t count, Color colour)
{
    std::vector<raster::Point>& kept = m_pending.points;
    const size_t first = kept.size();
    raster::fixPolygon(points, count, m_width, m_height, kept);
    if (kept.size() - first < 3) {
        kept.resize(first);
        return;
    }
    int64_t left = kept[first].x, right = left, top = kept[first].y, bottom = top;
    for (size_t i = first + 1; i < kept.size(); ++i) {
        left = std::min<int64_t>(left, kept[i].x);
        right = std::max<int64_t>(right, kept[i].x);
        top = std::min<int64_t>(top, kept[i].y);
        bottom = std::max<int64_t>(bottom, kept[i].y);
    }
    const int64_t x0 = pixelFloor(left), y0 = pixelFloor(top);
    const int64_t x1 = pixelFloor(right + raster::kSubpixels - 1), y1 = pixelFloor(bottom + raster::kSubpixels - 1);
    const QRect extent = QRect(QPoint(static_cast<int>(x0), static_cast<int>(y0)), QPoint(static_cast<int>(x1) - 1, static_cast<int>(y1) - 1))
        & QRect(0, 0, m_width, m_height);
    if (extent.isEmpty()) {
        kept.resize(first);
        return;
    }
    if (m_touched)
        *m_touched |= extent;
    const uint32_t opaqueColour = 0xFF000000u | colour.rgb;
    if (laidOnItsOwnColour(extent, opaqueColour)) {
        kept.resize(first);
        return;
    }
    add({ .kind = Operation::Kind::Shape,
          .extent = extent,
          .colour = opaqueColour,
          .firstPoint = static_cast<uint32_t>(first),
          .pointCount = static_cast<uint32_t>(kept.size() - first) });
}

bool PictureRecord::laidOnItsOwnColour(const QRect& extent, uint32_t colour) const
{
    if (m_pending.operations.empty())
        return false;
    const Operation& last = m_pending.operations.back();
    return last.kind == Operation::Kind::Fill && last.colour == colour && last.extent.contains(extent) && raster::blendKeeps(colour);
}

void PictureRecord::lay(const Ref<Picture>& source, const Ref<Picture>& mask, QPoint offset, const QRect& to)
{
    if (!add({ .kind = Operation::Kind::Lay, .extent = to, .source = source, .mask = mask, .offset = offset }))
        return;
    source->record().addReader(this);
    if (mask)
        mask->record().addReader(this);
}

void PictureRecord::beginDirect()
{
    drawReaders();
    render();
    if (m_coldRows)
        m_coldRows->needAll();
}

void PictureRecord::endDirect(const QRect& pixels)
{
    // The record no longer tells what the pixels hold.
    m_drawnKnown = false;
    m_changes.clear();
    const QRect cut = pixels & QRect(0, 0, m_width, m_height);
    m_changes.addRect(cut.x(), cut.y(), rightOf(cut), bottomOf(cut));
    ++m_version;
}

const raster::Damage* PictureRecord::changesSince(int64_t version) const
{
    static const raster::Damage nothing;
    if (version == m_version)
        return &nothing;
    if (version == m_version - 1)
        return &m_changes;
    return nullptr;
}

QRect PictureRecord::opaquePixels() const
{
    // Every operation lays over what is there, so an opaque fill first stays opaque.
    const Record& record = m_pending.operations.empty() ? m_drawn : m_pending;
    if (&record == &m_drawn && !m_drawnKnown)
        return {};
    return coverOf(record);
}

bool PictureRecord::sameShape(const Operation& a, const Record& aRecord, const Operation& b, const Record& bRecord) const
{
    return a.colour == b.colour && a.pointCount == b.pointCount
        && std::memcmp(aRecord.points.data() + a.firstPoint, bRecord.points.data() + b.firstPoint, a.pointCount * sizeof(raster::Point)) == 0;
}

void PictureRecord::render()
{
    if (m_pending.operations.empty() || m_rendering)
        return;
    m_rendering = true;
    std::vector<Operation>& now = m_pending.operations;
    const std::vector<Operation>& before = m_drawn.operations;
    if (m_pending.cells.size() < now.size())
        m_pending.cells.resize(now.size());
    if (m_drawn.cells.size() < now.size())
        m_drawn.cells.resize(now.size());
    const bool comparable = m_drawnKnown && now.size() == before.size();
    for (size_t i = 0; i < now.size(); ++i) {
        Operation& operation = now[i];
        if (operation.kind == Operation::Kind::Lay) {
            operation.source->record().render();
            if (operation.mask)
                operation.mask->record().render();
        } else if (operation.kind == Operation::Kind::Shape) {
            if (comparable && before[i].kind == Operation::Kind::Shape && sameShape(operation, m_pending, before[i], m_drawn))
                std::swap(m_pending.cells[i], m_drawn.cells[i]);
            else
                m_pending.cells[i].build(m_pending.points.data() + operation.firstPoint, operation.pointCount, m_height, m_width);
        }
    }
    collectChanges(m_damage);
    draw(m_damage, m_nextChanges);
    for (Operation& operation : now) {
        if (operation.kind != Operation::Kind::Lay)
            continue;
        operation.sourceVersion = operation.source->record().version();
        if (operation.mask)
            operation.maskVersion = operation.mask->record().version();
    }
    m_changes.swap(m_nextChanges);
    ++m_version;
    forgetSources(m_pending);
    std::swap(m_drawn, m_pending);
    m_pending.clear();
    m_drawnKnown = true;
    m_rendering = false;
    if (m_coldRows)
        m_coldRows->frameDrawn();
}

void PictureRecord::collectChanges(raster::Damage& damage)
{
    damage.clear();
    const std::vector<Operation>& now = m_pending.operations;
    const std::vector<Operation>& before = m_drawn.operations;
    bool comparable = m_drawnKnown && now.size() == before.size();
    for (size_t i = 0; comparable && i < now.size(); ++i)
        comparable = now[i].kind == before[i].kind;
    if (!comparable) {
        for (const Operation& operation : now)
            damage.addRect(operation.extent.x(), operation.extent.y(), rightOf(operation.extent), bottomOf(operation.extent));
        return;
    }
    const auto addBoth = [&](const Operation& a, const Operation& b) {
        damage.addRect(a.extent.x(), a.extent.y(), rightOf(a.extent), bottomOf(a.extent));
        damage.addRect(b.extent.x(), b.extent.y(), rightOf(b.extent), bottomOf(b.extent));
    };
    for (size_t i = 0; i < now.size(); ++i) {
        const Operation& a = now[i];
        const Operation& b = before[i];
        switch (a.kind) {
        case Operation::Kind::Fill:
            if (a.extent != b.extent || a.colour != b.colour)
                addBoth(a, b);
            break;
        case Operation::Kind::Shape:
            if (sameShape(a, m_pending, b, m_drawn))
                break;
            if (a.colour != b.colour)
                addBoth(a, b);
            else if (a.pointCount == b.pointCount)
                // The outline's points moved (a turn of the sun): the pixels its edges pass over on
                // the way come from the points alone, with no walk along the cells of both fills.
                damage.addSweep(m_drawn.points.data() + b.firstPoint, m_pending.points.data() + a.firstPoint, a.pointCount);
            else
                damage.addDifference(m_drawn.cells[i], m_pending.cells[i]);
            break;
        case Operation::Kind::Lay:
            addLayChanges(damage, a, b);
            break;
        }
    }

    // Pixels the last change touched start this one from other values than the record before
    // it did. That matters only where nothing covers them whole (the record's opaque fill first,
    // or anything opaque) and something covers them in part: an edge of a shape, or a lay.
    if (m_changes.empty())
        return;
    const QRect bounds = m_pending.bounds;
    const QRect cover = coverOf(m_pending);
    m_carried.clear();
    const int top = std::max(bounds.y(), m_changes.top()), bottom = std::min(bottomOf(bounds), m_changes.bottom());
    for (int y = top; y < bottom; ++y) {
        const RowCover covered = rowCover(cover, y);
        for (const raster::Damage::Span* span = m_changes.rowBegin(y); span != m_changes.rowEnd(y); ++span) {
            const int from = std::max(span->from, bounds.x()), to = std::min(span->to, rightOf(bounds));
            if (from < std::min(to, covered.from))
                m_carried.addSpan(y, from, std::min(to, covered.from));
            if (std::max(from, covered.to) < to)
                m_carried.addSpan(y, std::max(from, covered.to), to);
        }
    }
    if (m_carried.empty())
        return;
    for (size_t i = 0; i < now.size(); ++i) {
        const Operation& operation = now[i];
        if (operation.kind == Operation::Kind::Shape)
            damage.addPartial(m_pending.cells[i], m_carried);
        else if (operation.kind == Operation::Kind::Lay)
            damage.addMoved(m_carried, 0, 0, operation.extent.x(), operation.extent.y(), rightOf(operation.extent), bottomOf(operation.extent));
    }
}

QRect PictureRecord::coverOf(const Record& record)
{
    const std::vector<Operation>& operations = record.operations;
    return !operations.empty() && operations.front().kind == Operation::Kind::Fill ? operations.front().extent : QRect();
}

void PictureRecord::addLayChanges(raster::Damage& damage, const Operation& now, const Operation& before) const
{
    const QRect& extent = now.extent;
    const auto whole = [&] { damage.addRect(extent.x(), extent.y(), rightOf(extent), bottomOf(extent)); };
    if (now.source != before.source || now.mask != before.mask || now.offset != before.offset || now.extent != before.extent) {
        whole();
        damage.addRect(before.extent.x(), before.extent.y(), rightOf(before.extent), bottomOf(before.extent));
        return;
    }
    const raster::Damage* source = now.source->record().changesSince(before.sourceVersion);
    const raster::Damage* mask = now.mask ? now.mask->record().changesSince(before.maskVersion) : nullptr;
    if (!source || (now.mask && !mask)) {
        whole();
        return;
    }
    damage.addMoved(*source, now.offset.x(), now.offset.y(), extent.x(), extent.y(), rightOf(extent), bottomOf(extent));
    if (mask)
        damage.addMoved(*mask, now.offset.x(), now.offset.y(), extent.x(), extent.y(), rightOf(extent), bottomOf(extent));
}

void PictureRecord::draw(const raster::Damage& damage, raster::Damage& changes)
{
    changes.clear();
    if (damage.empty())
        return;
    const std::vector<Operation>& operations = m_pending.operations;
    // Written in place, never detached: the picture's painter holds these same pixels.
    auto* bits = const_cast<uchar*>(m_image.constBits());
    const qsizetype stride = m_image.bytesPerLine();
    if (m_coldRows)
        m_coldRows->need(damage.top(), damage.bottom());

    // Each operation as drawing needs it, worked out once.
    m_reaches.clear();
    for (size_t i = 0; i < operations.size(); ++i) {
        const Operation& operation = operations[i];
        Reach reach { .kind = operation.kind, .colour = operation.colour, .extent = operation.extent };
        if (operation.kind == Operation::Kind::Shape) {
            reach.cells = &m_pending.cells[i];
            reach.sameOverSame = raster::blendKeeps(operation.colour);
        } else if (operation.kind == Operation::Kind::Lay) {
            // Rows and columns are given in the destination's pixels.
            const int top = std::max(damage.top(), operation.extent.y()) - operation.offset.y();
            const int bottom = std::min(damage.bottom(), bottomOf(operation.extent)) - operation.offset.y();
            const QImage& source = operation.source->imageRows(top, bottom);
            reach.offset = operation.offset;
            reach.source = source.constBits();
            reach.sourceStride = source.bytesPerLine();
            if (operation.mask) {
                const QImage& mask = operation.mask->imageRows(top, bottom);
                reach.mask = mask.constBits();
                reach.maskStride = mask.bytesPerLine();
            }
        }
        m_reaches.push_back(reach);
    }
    m_lays.clear();
    for (const Reach& reach : m_reaches) {
        if (reach.source)
            m_lays.push_back(&reach);
    }

    // Pixels the opaque fill first does not cover hold what earlier frames left; only those of
    // them whose values change are changes. Counting the others would have them redrawn frame
    // after frame (they are "carried"), and cost would follow the largest area ever drawn.
    const QRect cover = coverOf(m_pending);
    m_before.resize(static_cast<size_t>(m_width));
    for (int y = damage.top(); y < damage.bottom(); ++y) {
        const raster::Damage::Span* spans = damage.rowBegin(y);
        const raster::Damage::Span* spansEnd = damage.rowEnd(y);
        if (spans == spansEnd)
            continue;
        auto* row = reinterpret_cast<uint32_t*>(bits + y * stride);
        prefetchAhead(damage, y, bits, stride);
        const RowCover covered = rowCover(cover, y);
        const bool compared = spans->from < covered.from || (spansEnd - 1)->to > covered.to;
        if (compared) {
            for (const raster::Damage::Span* span = spans; span != spansEnd; ++span) {
                std::copy(row + span->from, row + std::max(span->from, std::min(span->to, covered.from)), m_before.data() + span->from);
                const int right = std::max(span->from, covered.to);
                std::copy(row + std::min(right, span->to), row + span->to, m_before.data() + std::min(right, span->to));
            }
        }
        for (const Reach& reach : m_reaches)
            drawRow(reach, y, spans, spansEnd, row);
        if (!compared) {
            changes.copyRow(damage, y);
            continue;
        }
        for (const raster::Damage::Span* span = spans; span != spansEnd; ++span) {
            addChanged(changes, y, span->from, std::min(span->to, covered.from), row);
            changes.addSpan(y, std::max(span->from, covered.from), std::min(span->to, covered.to));
            addChanged(changes, y, std::max(span->from, covered.to), span->to, row);
        }
    }
}

void PictureRecord::addChanged(raster::Damage& changes, int y, int from, int to, const uint32_t* row) const
{
    const uint32_t* before = m_before.data();
    for (int x = from; x < to;) {
        if (row[x] == before[x]) {
            ++x;
            continue;
        }
        const int first = x;
        while (x < to && row[x] != before[x])
            ++x;
        changes.addSpan(y, first, x);
    }
}

void PictureRecord::prefetchAhead(const raster::Damage& damage, int y, const uchar* bits, qsizetype stride) const
{
    // The pictures are cold between frames and their rows lie far apart: the pixels a few rows on
    // are asked for ahead.
    constexpr int kRowsAhead = 4;
    const int ahead = y + kRowsAhead;
    if (ahead >= damage.bottom())
        return;
    const raster::Damage::Span* spans = damage.rowBegin(ahead);
    const raster::Damage::Span* spansEnd = damage.rowEnd(ahead);
    for (const raster::Damage::Span* span = spans; span != spansEnd; ++span)
        __builtin_prefetch(bits + ahead * stride + span->from * 4, 1);
    for (const Reach* lay : m_lays) {
        if (ahead < lay->extent.y() || ahead >= bottomOf(lay->extent))
            continue;
        const int sourceRow = ahead - lay->offset.y();
        for (const raster::Damage::Span* span = spans; span != spansEnd; ++span) {
            // Within the lay, so the address stays inside the source and the mask.
            const int column = std::clamp(span->from, lay->extent.x(), rightOf(lay->extent) - 1) - lay->offset.x();
            __builtin_prefetch(lay->source + sourceRow * lay->sourceStride + column * 4);
            if (lay->mask)
                __builtin_prefetch(lay->mask + sourceRow * lay->maskStride + column * 4);
        }
    }
}

void PictureRecord::drawRow(const Reach& reach, int y, const raster::Damage::Span* spans, const raster::Damage::Span* spansEnd,
                            uint32_t* row) const
{
    if (y < reach.extent.y() || y >= bottomOf(reach.extent))
        return;
    int from = reach.extent.x(), to = rightOf(reach.extent);
    const raster::Cell* cells = nullptr;
    const raster::Cell* cellsEnd = nullptr;
    if (reach.kind == Operation::Kind::Shape) {
        const raster::Cells& shape = *reach.cells;
        if (y < shape.top() || y >= shape.bottom() || shape.rowBegin(y) == shape.rowEnd(y))
            return;
        cells = shape.rowBegin(y);
        cellsEnd = shape.rowEnd(y);
        // A closed outline covers nothing left of its first cell on a row or right of its last.
        from = std::max(from, cells->x);
        to = std::min(to, (cellsEnd - 1)->x + 1);
    }
    const raster::Damage::Span* span = spans;
    while (span != spansEnd && span->to <= from)
        ++span;
    if (span == spansEnd || span->from >= to)
        return;
    switch (reach.kind) {
    case Operation::Kind::Fill:
        for (; span != spansEnd && span->from < to; ++span)
            std::fill(row + std::max(span->from, from), row + std::min(span->to, to), reach.colour);
        break;
    case Operation::Kind::Shape: {
        // One walk along the row for all its spans, which come left to right.
        raster::CoverageWalk walk(cells, cellsEnd, std::max(span->from, from));
        for (; span != spansEnd && span->from < to; ++span) {
            walk.skipTo(std::max(span->from, from));
            raster::fillRuns(walk, std::min(span->to, to), reach.colour, reach.sameOverSame, row);
        }
        break;
    }
    case Operation::Kind::Lay: {
        const int sourceRow = y - reach.offset.y();
        const auto* source = reinterpret_cast<const uint32_t*>(reach.source + sourceRow * reach.sourceStride);
        const auto* mask = reach.mask ? reinterpret_cast<const uint32_t*>(reach.mask + sourceRow * reach.maskStride) : nullptr;
        for (; span != spansEnd && span->from < to; ++span) {
            const int left = std::max(span->from, from), right = std::min(span->to, to);
            const int column = left - reach.offset.x();
            raster::layRow(source + column, mask ? mask + column : nullptr, row + left, right - left);
        }
        break;
    }
    }
}
