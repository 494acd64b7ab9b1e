#include "drawing/private/CanvasRecord.h"

#include "drawing/private/PictureRecord.h"
#include "drawing/Graphics.h"
#include "drawing/Object2D.h"
#include "drawing/Picture.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRect>
#include <QRegion>

#include <cmath>

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
        if (region.rectCount() > 1 && laidAt(entry, painter.device()->devicePixelRatio(), dx, dy)) {
            // A copy through a clip of many rectangles is handed to Qt's thread pool; one
            // rectangle at a time it is a plain copy.
            for (const QRect& area : region) {
                painter.setClipRect(area);
                surface.DrawPicture(entry.picture, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
            }
            painter.setClipping(false);
            continue;
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
