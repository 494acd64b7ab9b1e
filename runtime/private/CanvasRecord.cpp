#include "CanvasRecord.h"

#include "Drawing.h"
#include "Graphics.h"
#include "Object2D.h"
#include "Picture.h"

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

void CanvasRecord::addFill(Color colour, int64_t x, int64_t y, int64_t width, int64_t height)
{
    Entry entry;
    entry.kind = Entry::Kind::Fill;
    entry.colour = colour;
    entry.arguments[0] = static_cast<double>(x);
    entry.arguments[1] = static_cast<double>(y);
    entry.arguments[2] = static_cast<double>(width);
    entry.arguments[3] = static_cast<double>(height);
    m_entries.push_back(std::move(entry));
}

void CanvasRecord::addShape(const Ref<Object2D>& shape, double x, double y)
{
    Entry entry;
    entry.kind = Entry::Kind::Shape;
    entry.shape = shape;
    entry.arguments[0] = x;
    entry.arguments[1] = y;
    m_entries.push_back(std::move(entry));
}

void CanvasRecord::addPicture(const Ref<Picture>& picture, const double (&arguments)[8])
{
    Entry entry;
    entry.kind = Entry::Kind::Picture;
    entry.picture = picture;
    std::copy(arguments, arguments + 8, entry.arguments);
    m_entries.push_back(std::move(entry));
}

void CanvasRecord::replay(Graphics& surface, QPainter& painter, const QRegion& region) const
{
    for (const Entry& entry : m_entries) {
        const double* a = entry.arguments;
        int dx = 0, dy = 0;
        if (laidAt(entry, painter.device()->devicePixelRatio(), dx, dy)) {
            if (copyOpaque(entry, painter, region, dx, dy))
                continue;
            if (region.rectCount() > 1) {
                // A copy through a clip of many rectangles is handed to Qt's thread pool; one
                // rectangle at a time it is a plain copy.
                for (const QRect& area : region) {
                    painter.setClipRect(area);
                    surface.DrawPicture(entry.picture, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
                }
                painter.setClipping(false);
                continue;
            }
        }
        switch (entry.kind) {
        case Entry::Kind::Fill:
            surface.ForeColor(entry.colour);
            surface.FillRect(static_cast<int64_t>(a[0]), static_cast<int64_t>(a[1]), static_cast<int64_t>(a[2]), static_cast<int64_t>(a[3]));
            break;
        case Entry::Kind::Shape:
            surface.DrawObject(entry.shape, a[0], a[1]);
            break;
        case Entry::Kind::Picture:
            surface.DrawPicture(entry.picture, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
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
    const QImage& source = entry.picture->image();
    const auto sameLayout = [](QImage::Format format) {
        return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
    };
    if (!sameLayout(target.format()) || source.format() != QImage::Format_ARGB32_Premultiplied
        || target.devicePixelRatio() != source.devicePixelRatio())
        return false;
    painter.resetTransform();
    const QTransform toDevice = painter.deviceTransform();
    const double ratio = source.devicePixelRatio();
    if (toDevice.type() > QTransform::TxScale || toDevice.m11() != ratio || toDevice.m22() != ratio
        || toDevice.dx() != std::round(toDevice.dx()) || toDevice.dy() != std::round(toDevice.dy()))
        return false;
    // Where the painter may paint: Qt's own device pixels for this paint, when it set them.
    const QRegion area = engine->systemClip().isEmpty() ? toDevice.map(region) : engine->systemClip();
    const QPoint shift = QPoint(static_cast<int>(toDevice.dx()), static_cast<int>(toDevice.dy())) + QPoint(dx, dy);
    const QRect opaque = (entry.picture->record().opaquePixels() & source.rect()).translated(shift) & target.rect();

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
    if (entry.kind != Entry::Kind::Picture || entry.picture->pixelRatio() != pixelRatio || entry.picture->Mask())
        return false;
    const double* a = entry.arguments;
    const auto own = [](double value, int64_t size) { return value == Graphics::kLeftOut ? static_cast<double>(size) : value; };
    const Picture& picture = *entry.picture;
    if (own(a[2], picture.Width()) != own(a[6], picture.Width()) || own(a[3], picture.Height()) != own(a[7], picture.Height()))
        return false;
    const double x = (a[0] - a[4]) * pixelRatio, y = (a[1] - a[5]) * pixelRatio;
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
        if (!laidAt(now, pixelRatio, dx, dy) || now.picture != before.picture
            || !std::equal(now.arguments, now.arguments + 8, before.arguments))
            return false;
        // Drawn now, so its changes are known.
        now.picture->record().render();
        const raster::Damage* changes = now.picture->record().changesSince(before.shownVersion);
        if (!changes)
            return false;
        for (int y = changes->top(); y < changes->bottom(); ++y) {
            for (const raster::Damage::Span* span = changes->rowBegin(y); span != changes->rowEnd(y); ++span)
                bands.addSpan((y + dy) / kBandRows, span->from + dx, span->to + dx);
        }
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
