#include "drawing/private/CanvasRecord.h"

#include "drawing/Object2D.h"
#include "drawing/Picture.h"
#include "drawing/private/PainterTarget.h"
#include "drawing/private/PictureRecord.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>

void CanvasRecord::fillRect(Color colour, int64_t x, int64_t y, int64_t width, int64_t height)
{
    Entry entry;
    entry.kind = Entry::Kind::Fill;
    entry.colour = colour;
    entry.fill[0] = x;
    entry.fill[1] = y;
    entry.fill[2] = width;
    entry.fill[3] = height;
    m_entries.push_back(std::move(entry));
}

void CanvasRecord::drawObject(const Ref<Object2D>& shape, double x, double y)
{
    Entry entry;
    entry.kind = Entry::Kind::Shape;
    entry.shape = shape;
    entry.x = x;
    entry.y = y;
    m_entries.push_back(std::move(entry));
}

void CanvasRecord::drawPicture(const Ref<Picture>& picture, const PictureLay& lay)
{
    Entry entry;
    entry.kind = Entry::Kind::Picture;
    entry.picture = picture;
    entry.lay = lay;
    m_entries.push_back(std::move(entry));
}

void CanvasRecord::replay(PainterTarget& target, QPainter& painter, const QRegion& region) const
{
    for (const Entry& entry : m_entries) {
        int dx = 0, dy = 0;
        if (laidAt(entry, painter.device()->devicePixelRatio(), dx, dy)) {
            if (copyOpaque(entry, painter, region, dx, dy))
                continue;
            if (region.rectCount() > 1) {
                // A copy through a clip of many rectangles is handed to Qt's thread pool; one
                // rectangle at a time it is a plain copy.
                for (const QRect& area : region) {
                    painter.setClipRect(area);
                    target.drawPicture(entry.picture, entry.lay);
                }
                painter.setClipping(false);
                continue;
            }
        }
        switch (entry.kind) {
        case Entry::Kind::Fill:
            target.fillRect(entry.colour, entry.fill[0], entry.fill[1], entry.fill[2], entry.fill[3]);
            break;
        case Entry::Kind::Shape:
            target.drawObject(entry.shape, entry.x, entry.y);
            break;
        case Entry::Kind::Picture:
            target.drawPicture(entry.picture, entry.lay);
            break;
        }
    }
}

bool CanvasRecord::copyOpaque(const Entry& entry, QPainter& painter, const QRegion& region, int dx, int dy)
{
    // The painter would blend each pixel and, for a region of many rectangles, intersect its whole
    // clip once per rectangle; opaque pixels laid unscaled are only copied. That needs the device
    // to be the image itself (the raster backing stores), whole device pixels, and the same pixels.
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return false;
    QImage& target = *static_cast<QImage*>(device);
    const auto sameLayout = [](QImage::Format format) {
        return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
    };
    const double ratio = entry.picture->pixelRatio();
    if (!sameLayout(target.format()) || target.devicePixelRatio() != ratio)
        return false;
    painter.resetTransform();
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() > QTransform::TxScale || toDevice.m11() != ratio || toDevice.m22() != ratio
        || toDevice.dx() != std::round(toDevice.dx()) || toDevice.dy() != std::round(toDevice.dy()))
        return false;
    // Where the painter may paint: Qt's own device pixels for this paint, when it set them.
    const QRegion area = engine->systemClip().isEmpty() ? toDevice.map(region) : engine->systemClip();
    const QPoint shift = QPoint(static_cast<int>(toDevice.dx()), static_cast<int>(toDevice.dy())) + QPoint(dx, dy);
    const QRect opaque = (entry.picture->record().opaquePixels() & entry.picture->pixelRect()).translated(shift) & target.rect();
    const QRect read = (area.boundingRect() & opaque).translated(-shift);
    const QImage& source = entry.picture->imageRows(read.top(), read.bottom() + 1);
    if (source.format() != QImage::Format_ARGB32_Premultiplied)
        return false;

    uchar* const targetBits = target.bits();
    const qsizetype targetLine = target.bytesPerLine();
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceLine = source.bytesPerLine();
    bool whole = true;
    for (const QRect& painted : area) {
        const QRect copied = painted & opaque;
        whole = whole && copied == (painted & target.rect());
        for (int y = copied.top(); y <= copied.bottom(); ++y) {
            std::memcpy(targetBits + y * targetLine + copied.left() * 4,
                        sourceBits + (y - shift.y()) * sourceLine + (copied.left() - shift.x()) * 4,
                        static_cast<size_t>(copied.width()) * 4);
        }
    }
    return whole;
}

void CanvasRecord::repaintRectangles(const raster::Damage& bands, const QRect& within, std::vector<QRect>& rectangles)
{
    rectangles.clear();
    // The rectangles of the last band that had any, and where they end.
    size_t lastBand = 0;
    int lastBottom = -2;
    for (int band = std::max(bands.top(), 0); band < bands.bottom(); ++band) {
        const int top = std::max(band * kBandRows, within.top());
        const int bottom = std::min((band + 1) * kBandRows, within.bottom() + 1);
        if (top >= bottom)
            continue;
        const int64_t rows = bottom - top;
        const size_t first = rectangles.size();
        for (const raster::Damage::Span* span = bands.rowBegin(band); span != bands.rowEnd(band); ++span) {
            const int from = std::max(span->from, within.left());
            const int to = std::min(span->to, within.right() + 1);
            if (from >= to)
                continue;
            if (rectangles.size() > first && (from - rectangles.back().right() - 1) * rows <= kRectanglePrice)
                rectangles.back().setRight(to - 1);
            else
                rectangles.emplace_back(from, top, to - from, bottom - top);
        }
        if (rectangles.size() == first)
            continue;
        // The same spans as the band above: its rectangles grow down instead.
        const bool same = lastBottom == top && rectangles.size() - first == first - lastBand
            && std::equal(rectangles.begin() + first, rectangles.end(), rectangles.begin() + lastBand,
                          [](const QRect& a, const QRect& b) { return a.left() == b.left() && a.right() == b.right(); });
        if (same) {
            for (size_t i = lastBand; i < first; ++i)
                rectangles[i].setBottom(bottom - 1);
            rectangles.resize(first);
        } else {
            lastBand = first;
        }
        lastBottom = bottom;
    }
    if (rectangles.size() < 2)
        return;
    QRect bounds;
    int64_t pixels = 0;
    for (const QRect& rectangle : rectangles) {
        bounds |= rectangle;
        pixels += int64_t(rectangle.width()) * rectangle.height();
    }
    if (kRectanglePrice + int64_t(bounds.width()) * bounds.height() <= int64_t(rectangles.size()) * kRectanglePrice + pixels)
        rectangles.assign(1, bounds);
}

bool CanvasRecord::laidAt(const Entry& entry, double pixelRatio, int& dx, int& dy)
{
    if (entry.kind != Entry::Kind::Picture || entry.picture->pixelRatio() != pixelRatio || entry.picture->Mask() || !entry.lay.unscaled())
        return false;
    const double x = (entry.lay.x - entry.lay.sourceX) * pixelRatio, y = (entry.lay.y - entry.lay.sourceY) * pixelRatio;
    if (std::abs(x - std::round(x)) > 1e-6 || std::abs(y - std::round(y)) > 1e-6)
        return false;
    dx = static_cast<int>(std::lround(x));
    dy = static_cast<int>(std::lround(y));
    return true;
}

bool CanvasRecord::changesFrom(const CanvasRecord& shown, double pixelRatio, raster::Damage& bands) const
{
    if (m_entries.size() != shown.m_entries.size())
        return false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& now = m_entries[i];
        const Entry& before = shown.m_entries[i];
        int dx = 0, dy = 0;
        if (!laidAt(now, pixelRatio, dx, dy) || now.picture != before.picture || !(now.lay == before.lay))
            return false;
        // Drawn now, so its changes are known.
        now.picture->record().render();
        const raster::Damage* changes = now.picture->record().changesSince(before.shownVersion);
        if (!changes)
            return false;
        for (int y = changes->top(); y < changes->bottom(); ++y)
            bands.addSpans((y + dy) / kBandRows, changes->rowBegin(y), changes->rowEnd(y), dx, 0, bands.width());
    }
    return true;
}

void CanvasRecord::noteShown()
{
    for (Entry& entry : m_entries) {
        if (entry.kind == Entry::Kind::Picture)
            entry.shownVersion = entry.picture->record().version();
    }
}

QRect CanvasRecord::opaquePixels(double pixelRatio) const
{
    QRect opaque;
    for (const Entry& entry : m_entries) {
        int dx = 0, dy = 0;
        if (laidAt(entry, pixelRatio, dx, dy))
            opaque |= entry.picture->record().opaquePixels().translated(dx, dy);
    }
    return opaque;
}
