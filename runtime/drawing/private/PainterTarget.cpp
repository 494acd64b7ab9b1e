#include "drawing/private/PainterTarget.h"

#include "drawing/Object2D.h"
#include "drawing/Picture.h"
#include "drawing/private/Raster.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

QColor opaque(Color color)
{
    return QColor::fromRgb(color.rgb | 0xFF000000u);
}

QRectF logical(const QRect& pixels, double pixelRatio)
{
    return QRectF(QPointF(pixels.topLeft()) / pixelRatio, QSizeF(pixels.size()) / pixelRatio);
}

} // namespace

void PainterTarget::bind(QPainter* painter)
{
    m_painter = painter;
    if (painter)
        painter->setRenderHint(QPainter::Antialiasing);
}

QRectF PainterTarget::extent() const
{
    const QPaintDevice* device = m_painter->device();
    // Images and pixmaps measure themselves in device pixels, widgets in their own units.
    const bool inPixels = device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap;
    const double ratio = inPixels ? device->devicePixelRatio() : 1.0;
    return QRectF(0, 0, device->width() / ratio, device->height() / ratio);
}

void PainterTarget::fillRect(Color colour, int64_t x, int64_t y, int64_t width, int64_t height)
{
    // Cut to the surface in 64 bits, so that the painter's ints cannot overflow.
    const QRectF bounds = extent();
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + width, static_cast<int64_t>(std::ceil(bounds.right())));
    const int64_t bottom = std::min<int64_t>(y + height, static_cast<int64_t>(std::ceil(bounds.bottom())));
    if (right <= left || bottom <= top)
        return;
    fillCut(QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left), static_cast<int>(bottom - top)), colour);
}

void PainterTarget::fillCut(const QRect& rect, Color colour)
{
    m_painter->resetTransform();
    m_painter->fillRect(rect, opaque(colour));
}

bool PainterTarget::drawnOtherwise(Object2D&, double, double)
{
    return false;
}

bool PainterTarget::laidOtherwise(const Ref<Picture>&, const Ref<Picture>&, const PictureLay&)
{
    return false;
}

void PainterTarget::endPainting(const QRectF&) { }

void PainterTarget::drawObject(const Ref<Object2D>& shape, double x, double y)
{
    Object2D& drawn = *shape;
    if (drawnOtherwise(drawn, x, y))
        return;
    beginPainting();
    QRectF touched;
    drawn.paint(*m_painter, QTransform::fromTranslate(x, y), extent(), touched);
    endPainting(touched);
}

void PainterTarget::drawPicture(const Ref<Picture>& picture, const PictureLay& lay)
{
    Picture& source = *picture;
    const Ref<Picture> mask = source.Mask();
    if (lay.unscaled() && laidOtherwise(picture, mask, lay))
        return;
    beginPainting();
    paintPicture(source, mask, lay);
}

void PainterTarget::paintPicture(Picture& source, const Ref<Picture>& mask, const PictureLay& lay)
{
    const double sourceRatio = source.pixelRatio();
    QRectF from(lay.sourceX, lay.sourceY, lay.sourceWidth, lay.sourceHeight);
    QRectF to(lay.x, lay.y, lay.width, lay.height);
    if (lay.unscaled()) {
        // Outside its drawn pixels a picture is transparent, so that part is left out.
        // Nor is what lands outside the surface read.
        from &= logical(source.drawnPixels(), sourceRatio) & extent().translated(lay.sourceX - lay.x, lay.sourceY - lay.y);
        if (from.isEmpty())
            return;
        to = from.translated(lay.x - lay.sourceX, lay.y - lay.sourceY);
    }
    const QRectF fromPixels(from.topLeft() * sourceRatio, from.size() * sourceRatio);
    const QRect read = fromPixels.toAlignedRect();
    const QImage& sourceImage = source.imageRows(read.top(), read.bottom() + 1);
    m_painter->resetTransform();
    if (!mask) {
        m_painter->drawImage(to, sourceImage, fromPixels);
        endPainting(to & extent());
        return;
    }

    // Scaled or off the pixel grid: the source is seen through its mask into a copy, then drawn.
    const QRect copied = fromPixels.toAlignedRect() & sourceImage.rect();
    if (copied.isEmpty())
        return;
    QImage seen(copied.size(), QImage::Format_ARGB32_Premultiplied);
    seen.fill(Qt::transparent);
    const QImage& maskImage = mask->image();
    const double maskScale = maskImage.devicePixelRatio() / sourceRatio;
    for (int row = 0; row < copied.height(); ++row) {
        const auto* sourceRow = reinterpret_cast<const uint32_t*>(sourceImage.constScanLine(copied.top() + row));
        auto* seenRow = reinterpret_cast<uint32_t*>(seen.scanLine(row));
        const int maskRow = static_cast<int>((copied.top() + row) * maskScale);
        if (maskRow >= maskImage.height())
            break;
        const auto* maskPixels = reinterpret_cast<const uint32_t*>(maskImage.constScanLine(maskRow));
        for (int column = 0; column < copied.width(); ++column) {
            const int maskColumn = static_cast<int>((copied.left() + column) * maskScale);
            if (maskColumn >= maskImage.width())
                break;
            seenRow[column] = raster::byteMultiply(sourceRow[copied.left() + column], raster::maskOpacity(maskPixels[maskColumn]));
        }
    }
    seen.setDevicePixelRatio(sourceRatio);
    m_painter->drawImage(to, seen, fromPixels.translated(-copied.topLeft()));
    endPainting(to & extent());
}
