#include "drawing/private/PictureRecord.h"

#include "drawing/Picture.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace {

int rightOf(const QRect& rect)
{
    return rect.x() + rect.width();
}

int bottomOf(const QRect& rect)
{
    return rect.y() + rect.height();
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

PictureRecord::PictureRecord(QImage& image)
    : m_image(image)
    , m_width(image.width())
    , m_height(image.height())
{
    m_changes.reset(m_width, m_height);
    m_nextChanges.reset(m_width, m_height);
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
    add({ .kind = Operation::Kind::Shape,
          .extent = extent,
          .colour = 0xFF000000u | colour.rgb,
          .firstPoint = static_cast<uint32_t>(first),
          .pointCount = static_cast<uint32_t>(kept.size() - first) });
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
    if ((&record == &m_drawn && !m_drawnKnown) || record.operations.empty() || record.operations.front().kind != Operation::Kind::Fill)
        return {};
    return record.operations.front().extent;
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
    collectChanges(m_nextChanges);
    draw(m_nextChanges);
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
            if (a.colour == b.colour)
                damage.addDifference(m_drawn.cells[i], m_pending.cells[i]);
            else
                addBoth(a, b);
            break;
        case Operation::Kind::Lay:
            addLayChanges(damage, a, b);
            break;
        }
    }

    // Pixels the last change touched start this one from other values than the record before
    // it did. That matters only where nothing covers them whole (the same opaque fill first, or
    // anything opaque) and something covers them in part: an edge of a shape, or a lay.
    if (m_changes.empty())
        return;
    const QRect bounds = m_pending.bounds;
    QRect cover;
    if (now[0].kind == Operation::Kind::Fill && now[0].extent == before[0].extent && now[0].colour == before[0].colour)
        cover = now[0].extent;
    m_carried.clear();
    const int top = std::max(bounds.y(), m_changes.top()), bottom = std::min(bottomOf(bounds), m_changes.bottom());
    for (int y = top; y < bottom; ++y) {
        const bool covered = !cover.isEmpty() && y >= cover.y() && y < bottomOf(cover);
        for (const raster::Damage::Span* span = m_changes.rowBegin(y); span != m_changes.rowEnd(y); ++span) {
            const int from = std::max(span->from, bounds.x()), to = std::min(span->to, rightOf(bounds));
            if (from >= to)
                continue;
            if (!covered) {
                m_carried.addSpan(y, from, to);
                continue;
            }
            m_carried.addSpan(y, from, std::min(to, cover.x()));
            m_carried.addSpan(y, std::max(from, rightOf(cover)), to);
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

void PictureRecord::draw(const raster::Damage& damage)
{
    if (damage.empty())
        return;
    const std::vector<Operation>& operations = m_pending.operations;
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    // Each operation's pixels on the row being drawn: from, to, and for a shape its cells.
    struct Reach {
        const Operation* operation;
        int from;
        int to;
        const raster::Cell* cells;
        const raster::Cell* cellsEnd;
        // For a lay: the rows of source and mask it reads, which start its offset left of the destination's.
        const uint32_t* source;
        const uint32_t* mask;
        qsizetype sourceStride;
        qsizetype maskStride;
    };
    constexpr size_t kReachesAtOnce = 32;
    Reach reaches[kReachesAtOnce];
    for (size_t first = 0; first < operations.size(); first += kReachesAtOnce) {
        const size_t last = std::min(operations.size(), first + kReachesAtOnce);
        for (int y = damage.top(); y < damage.bottom(); ++y) {
            const raster::Damage::Span* spans = damage.rowBegin(y);
            const raster::Damage::Span* spansEnd = damage.rowEnd(y);
            if (spans == spansEnd)
                continue;
            size_t reachCount = 0;
            for (size_t i = first; i < last; ++i) {
                const Operation& operation = operations[i];
                const QRect& extent = operation.extent;
                if (y < extent.y() || y >= bottomOf(extent))
                    continue;
                Reach reach { &operation, extent.x(), rightOf(extent), nullptr, nullptr, nullptr, nullptr, 0, 0 };
                if (operation.kind == Operation::Kind::Shape) {
                    const raster::Cells& cells = m_pending.cells[i];
                    if (y < cells.top() || y >= cells.bottom() || cells.rowBegin(y) == cells.rowEnd(y))
                        continue;
                    // A closed outline covers nothing left of its first cell on a row or right of its last.
                    reach.cells = cells.rowBegin(y);
                    reach.cellsEnd = cells.rowEnd(y);
                    reach.from = std::max(reach.from, reach.cells->x);
                    reach.to = std::min(reach.to, (reach.cellsEnd - 1)->x + 1);
                } else if (operation.kind == Operation::Kind::Lay) {
                    const int sourceY = y - operation.offset.y();
                    const QImage& source = operation.source->image();
                    reach.source = reinterpret_cast<const uint32_t*>(source.constScanLine(sourceY));
                    reach.sourceStride = source.bytesPerLine();
                    if (operation.mask) {
                        const QImage& mask = operation.mask->image();
                        reach.mask = reinterpret_cast<const uint32_t*>(mask.constScanLine(sourceY));
                        reach.maskStride = mask.bytesPerLine();
                    }
                }
                if (reach.from < reach.to)
                    reaches[reachCount++] = reach;
            }
            auto* row = reinterpret_cast<uint32_t*>(bits + y * stride);
            // The pictures are cold between frames and their rows lie far apart: the pixels a few
            // rows on are asked for ahead.
            constexpr int kRowsAhead = 4;
            if (y + kRowsAhead < damage.bottom()) {
                const int ahead = y + kRowsAhead;
                for (const raster::Damage::Span* span = damage.rowBegin(ahead); span != damage.rowEnd(ahead); ++span) {
                    __builtin_prefetch(bits + ahead * stride + span->from * 4, 1);
                    for (size_t r = 0; r < reachCount; ++r) {
                        const Reach& reach = reaches[r];
                        if (!reach.source || ahead >= bottomOf(reach.operation->extent))
                            continue;
                        // Within the lay, so the address stays inside the source and the mask.
                        const int column = std::clamp(span->from, reach.from, reach.to - 1) - reach.operation->offset.x();
                        __builtin_prefetch(reinterpret_cast<const uchar*>(reach.source + column) + kRowsAhead * reach.sourceStride);
                        if (reach.mask)
                            __builtin_prefetch(reinterpret_cast<const uchar*>(reach.mask + column) + kRowsAhead * reach.maskStride);
                    }
                }
            }
            for (const raster::Damage::Span* span = spans; span != spansEnd; ++span) {
                for (size_t r = 0; r < reachCount; ++r) {
                    const Reach& reach = reaches[r];
                    const int from = std::max(span->from, reach.from), to = std::min(span->to, reach.to);
                    if (from >= to)
                        continue;
                    switch (reach.operation->kind) {
                    case Operation::Kind::Fill:
                        std::fill(row + from, row + to, reach.operation->colour);
                        break;
                    case Operation::Kind::Shape:
                        raster::fillRow(reach.cells, reach.cellsEnd, from, to, reach.operation->colour, row);
                        break;
                    case Operation::Kind::Lay: {
                        const int column = from - reach.operation->offset.x();
                        raster::layRow(reach.source + column, reach.mask ? reach.mask + column : nullptr, row + from, to - from);
                        break;
                    }
                    }
                }
            }
        }
    }
}
