#include "drawing/Graphics.h"

#include "drawing/Object2D.h"
#include "drawing/Picture.h"
#include "drawing/private/CanvasRecord.h"
#include "drawing/private/PictureRecord.h"
#include "drawing/private/Raster.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QTransform>

#include <algorithm>
#include <cmath>

RUNTIME_CLASS_RECORD(Graphics, "Graphics", Object)

namespace {

QColor opaque(Color color)
{
    return QColor::fromRgb(color.rgb | 0xFF000000u);
}

QRectF logical(const QRect& pixels, double pixelRatio)
{
    return QRectF(QPointF(pixels.topLeft()) / pixelRatio, QSizeF(pixels.size()) / pixelRatio);
}

bool whole(double value)
{
    return std::abs(value - std::round(value)) < 1e-6;
}

} // namespace

Graphics::Graphics() = default;

Graphics::~Graphics() = default;

Ref<Graphics> Graphics::forPainter(QPainter* painter)
{
    auto graphics = makeRef<Graphics>();
    graphics->bindPainter(painter);
    return graphics;
}

void Graphics::bindRecord(CanvasRecord* record)
{
    m_painter = nullptr;
    m_picture = nullptr;
    m_record = record;
}

void Graphics::bindPainter(QPainter* painter)
{
    m_painter = painter;
    m_picture = nullptr;
    m_record = nullptr;
    if (painter)
        painter->setRenderHint(QPainter::Antialiasing);
}

void Graphics::bindPicture(Picture* picture, QPainter* painter)
{
    m_painter = painter;
    m_picture = picture;
    m_record = nullptr;
}

QPainter& Graphics::painter() const
{
    if (!m_painter)
        throw NilObjectException();
    return *m_painter;
}

QRectF Graphics::extent() const
{
    if (m_picture)
        return QRectF(0, 0, static_cast<double>(m_picture->Width()), static_cast<double>(m_picture->Height()));
    const QPaintDevice* device = painter().device();
    // Images and pixmaps measure themselves in device pixels, widgets in their own units.
    const bool inPixels = device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap;
    const double ratio = inPixels ? device->devicePixelRatio() : 1.0;
    return QRectF(0, 0, device->width() / ratio, device->height() / ratio);
}

void Graphics::noteDrawn(const QRectF& area)
{
    if (m_picture && !area.isEmpty())
        m_picture->noteDrawn(area);
}

void Graphics::FillRect(int64_t x, int64_t y, int64_t width, int64_t height)
{
    if (m_record) {
        if (width > 0 && height > 0)
            m_record->addFill(m_foreColor, x, y, width, height);
        return;
    }
    QPainter& surface = painter();
    if (width <= 0 || height <= 0)
        return;
    // Cut to the surface in 64 bits, so that the painter's ints cannot overflow.
    const QRectF bounds = extent();
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + width, static_cast<int64_t>(std::ceil(bounds.right())));
    const int64_t bottom = std::min<int64_t>(y + height, static_cast<int64_t>(std::ceil(bounds.bottom())));
    if (right <= left || bottom <= top)
        return;
    const QRect rect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left), static_cast<int>(bottom - top));
    if (m_picture) {
        const double ratio = m_picture->pixelRatio();
        const auto pixel = [ratio](int64_t value) { return static_cast<int>(std::lround(static_cast<double>(value) * ratio)); };
        const QRect pixels(QPoint(pixel(left), pixel(top)), QPoint(pixel(right) - 1, pixel(bottom) - 1));
        m_picture->record().fill(pixels, opaque(m_foreColor).rgba());
        m_picture->noteDrawnPixels(pixels);
        return;
    }
    surface.resetTransform();
    surface.fillRect(rect, opaque(m_foreColor));
    noteDrawn(rect);
}

void Graphics::DrawObject(const Ref<Object2D>& shape, double x, double y)
{
    if (m_record) {
        shape.get();
        m_record->addShape(shape, x, y);
        return;
    }
    QPainter& surface = painter();
    Object2D& drawn = *shape;
    if (m_picture) {
        QRect pixels;
        if (m_picture->record().shape(drawn, QTransform::fromTranslate(x, y), m_picture->pixelRatio(), pixels)) {
            m_picture->noteDrawnPixels(pixels);
            return;
        }
        m_picture->record().beginDirect();
    }
    QRectF touched;
    drawn.paint(surface, QTransform::fromTranslate(x, y), extent(), touched);
    noteDrawn(touched);
    if (m_picture) {
        const double ratio = m_picture->pixelRatio();
        m_picture->record().endDirect(QRectF(touched.topLeft() * ratio, touched.size() * ratio).toAlignedRect());
    }
}

void Graphics::DrawPicture(const Ref<Picture>& picture, double x, double y, double width, double height,
                           double sourceX, double sourceY, double sourceWidth, double sourceHeight)
{
    if (m_record) {
        picture.get();
        m_record->addPicture(picture, { x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight });
        return;
    }
    painter();
    Picture& source = *picture;
    const auto given = [](double value, int64_t own) { return value == kLeftOut ? static_cast<double>(own) : value; };
    width = given(width, source.Width());
    height = given(height, source.Height());
    sourceWidth = given(sourceWidth, source.Width());
    sourceHeight = given(sourceHeight, source.Height());
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return;

    const Ref<Picture> mask = source.Mask();
    const bool unscaled = width == sourceWidth && height == sourceHeight;
    if (unscaled && recordLay(picture, mask, x, y, sourceX, sourceY, sourceWidth, sourceHeight))
        return;
    if (m_picture)
        m_picture->record().beginDirect();
    drawDirect(source, mask, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight);
}

void Graphics::drawDirect(Picture& source, const Ref<Picture>& mask, double x, double y, double width, double height,
                          double sourceX, double sourceY, double sourceWidth, double sourceHeight)
{
    QPainter& surface = painter();
    const bool unscaled = width == sourceWidth && height == sourceHeight;

    const QImage& sourceImage = source.image();
    const double sourceRatio = sourceImage.devicePixelRatio();
    QRectF from(sourceX, sourceY, sourceWidth, sourceHeight);
    QRectF to(x, y, width, height);
    if (unscaled) {
        // Outside its drawn pixels a picture is transparent, so that part is left out.
        from &= logical(source.drawnPixels(), sourceRatio);
        if (from.isEmpty())
            return;
        to = from.translated(x - sourceX, y - sourceY);
    }
    const QRectF fromPixels(from.topLeft() * sourceRatio, from.size() * sourceRatio);
    surface.resetTransform();
    if (!mask) {
        surface.drawImage(to, sourceImage, fromPixels);
        noteDirect(to & extent());
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
    surface.drawImage(to, seen, fromPixels.translated(-copied.topLeft()));
    noteDirect(to & extent());
}

void Graphics::noteDirect(const QRectF& area)
{
    noteDrawn(area);
    if (m_picture) {
        const double ratio = m_picture->pixelRatio();
        m_picture->record().endDirect(QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect());
    }
}

bool Graphics::recordLay(const Ref<Picture>& picture, const Ref<Picture>& mask, double x, double y, double sourceX,
                         double sourceY, double sourceWidth, double sourceHeight)
{
    Picture& source = *picture;
    if (!m_picture || m_picture == &source || mask.raw() == m_picture)
        return false;
    const double ratio = source.pixelRatio();
    if (m_picture->pixelRatio() != ratio || (mask && mask->pixelRatio() != ratio))
        return false;
    // Only the corners must sit on device pixels: a size that does not (a screen-sized picture
    // at a fractional scale) is rounded and cut to the images below.
    if (!whole(x * ratio) || !whole(y * ratio) || !whole(sourceX * ratio) || !whole(sourceY * ratio))
        return false;

    // A fill through a see-through mask by the painter would go to Qt's thread pool and cost
    // milliseconds; a pass of our own over the pixels it changes costs a fraction.
    const auto pixel = [ratio](double value) { return static_cast<int>(std::lround(value * ratio)); };
    QRect from = QRect(pixel(sourceX), pixel(sourceY), pixel(sourceWidth), pixel(sourceHeight)) & source.drawnPixels();
    if (mask)
        from &= mask->pixelRect();
    const QPoint offset(pixel(x) - pixel(sourceX), pixel(y) - pixel(sourceY));
    const QRect to = from.translated(offset) & m_picture->pixelRect();
    if (to.isEmpty())
        return true;
    m_picture->record().lay(picture, mask, offset, to);
    m_picture->noteDrawnPixels(to);
    return true;
}
