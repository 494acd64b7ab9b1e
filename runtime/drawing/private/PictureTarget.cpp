#include "drawing/private/PictureTarget.h"

#include "drawing/Picture.h"
#include "drawing/private/PictureRecord.h"

#include <QColor>
#include <QTransform>

#include <cmath>

namespace {

QColor opaque(Color color)
{
    return QColor::fromRgb(color.rgb | 0xFF000000u);
}

bool whole(double value)
{
    return std::abs(value - std::round(value)) < 1e-6;
}

} // namespace

PictureTarget::PictureTarget(Picture& picture, QPainter& painter)
    : PainterTarget(painter)
    , m_picture(picture)
{
}

QRectF PictureTarget::extent() const
{
    return QRectF(0, 0, static_cast<double>(m_picture.Width()), static_cast<double>(m_picture.Height()));
}

void PictureTarget::fillCut(const QRect& rect, Color colour)
{
    const double ratio = m_picture.pixelRatio();
    const auto pixel = [ratio](int64_t value) { return static_cast<int>(std::lround(static_cast<double>(value) * ratio)); };
    const QRect pixels(QPoint(pixel(rect.left()), pixel(rect.top())), QPoint(pixel(rect.left() + rect.width()) - 1, pixel(rect.top() + rect.height()) - 1));
    m_picture.record().fill(pixels, opaque(colour).rgba());
    m_picture.noteDrawnPixels(pixels);
}

bool PictureTarget::drawnOtherwise(Object2D& shape, double x, double y)
{
    QRect pixels;
    if (!m_picture.record().shape(shape, QTransform::fromTranslate(x, y), m_picture.pixelRatio(), pixels))
        return false;
    m_picture.noteDrawnPixels(pixels);
    return true;
}

bool PictureTarget::laidOtherwise(const Ref<Picture>& picture, const Ref<Picture>& mask, const PictureLay& lay)
{
    Picture& source = *picture;
    if (&m_picture == &source || mask.raw() == &m_picture)
        return false;
    const double ratio = source.pixelRatio();
    if (m_picture.pixelRatio() != ratio || (mask && mask->pixelRatio() != ratio))
        return false;
    // Only the corners must sit on device pixels: a size that does not (a screen-sized picture
    // at a fractional scale) is rounded and cut to the images below.
    if (!whole(lay.x * ratio) || !whole(lay.y * ratio) || !whole(lay.sourceX * ratio) || !whole(lay.sourceY * ratio))
        return false;

    // A fill through a see-through mask by the painter would go to Qt's thread pool and cost
    // milliseconds; a pass of our own over the pixels it changes costs a fraction.
    const auto pixel = [ratio](double value) { return static_cast<int>(std::lround(value * ratio)); };
    QRect from = QRect(pixel(lay.sourceX), pixel(lay.sourceY), pixel(lay.sourceWidth), pixel(lay.sourceHeight)) & source.drawnPixels();
    if (mask)
        from &= mask->pixelRect();
    const QPoint offset(pixel(lay.x) - pixel(lay.sourceX), pixel(lay.y) - pixel(lay.sourceY));
    const QRect to = from.translated(offset) & m_picture.pixelRect();
    if (to.isEmpty())
        return true;
    m_picture.record().lay(picture, mask, offset, to);
    m_picture.noteDrawnPixels(to);
    return true;
}

void PictureTarget::beginPainting()
{
    m_picture.record().beginDirect();
}

void PictureTarget::endPainting(const QRectF& area)
{
    if (!area.isEmpty())
        m_picture.noteDrawn(area);
    const double ratio = m_picture.pixelRatio();
    m_picture.record().endDirect(QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect());
}
