#include "drawing/private/CanvasRecord.h"

#include "drawing/Object2D.h"
#include "drawing/Picture.h"
#include "drawing/private/PainterTarget.h"
#include "drawing/private/PictureRecord.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRect>
#include <QRegion>

#include <cmath>

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
        if (region.rectCount() > 1 && laidAt(entry, painter.device()->devicePixelRatio(), dx, dy)) {
            // A copy through a clip of many rectangles is handed to Qt's thread pool; one
            // rectangle at a time it is a plain copy.
            for (const QRect& area : region) {
                painter.setClipRect(area);
                target.drawPicture(entry.picture, entry.lay);
            }
            painter.setClipping(false);
            continue;
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
