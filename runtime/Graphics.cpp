#include "Graphics.h"

#include "Object2D.h"
#include "Picture.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QTransform>

#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

RUNTIME_CLASS_RECORD(Graphics, "Graphics", Object)

namespace {

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

// One pixel of a source seen through its mask, laid over the destination:
// d = s·a + d·(1 - alpha(s·a)), premultiplied.
inline uint32_t blendThroughMask(uint32_t source, uint32_t mask, uint32_t destination)
{
    const uint32_t seen = byteMultiply(source, maskOpacity(mask));
    return seen + byteMultiply(destination, 255 - (seen >> 24));
}

#ifdef __SSE2__
// x · a / 255 on 16-bit lanes, with the rounding of byteMultiply.
inline __m128i divide255(__m128i product)
{
    const __m128i half = _mm_set1_epi16(0x80);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(product, _mm_srli_epi16(product, 8)), half), 8);
}

// The same as blendThroughMask for two pixels widened to 16-bit lanes, `opacity` holding each
// pixel's mask opacity in its four lanes.
inline __m128i blendWide(__m128i source, __m128i opacity, __m128i destination)
{
    const __m128i full = _mm_set1_epi16(255);
    const __m128i seen = divide255(_mm_mullo_epi16(source, opacity));
    const __m128i seenAlpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(seen, 0xff), 0xff);
    return _mm_add_epi16(seen, divide255(_mm_mullo_epi16(destination, _mm_sub_epi16(full, seenAlpha))));
}
#endif

// A row of a source seen through its mask, over the destination row, in one pass.
void blendRowThroughMask(const uint32_t* source, const uint32_t* mask, uint32_t* destination, int count)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i colour = _mm_set1_epi32(0x00ffffff);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xff000000u));
    const __m128i greyWeights = _mm_set_epi16(0, 11, 16, 5, 0, 11, 16, 5);
    const __m128i full = _mm_set1_epi16(255);
    // Pictures are mostly flat colour: four pixels like the last four give the same result.
    __m128i lastSource = zero, lastMask = zero, lastDestination = zero, lastResult = zero;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + i));
        // Transparent source: nothing to lay over.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xffff)
            continue;
        // Black mask over an opaque source: the source as it is.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(m, colour), zero)) == 0xffff
            && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alpha), alpha)) == 0xffff) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), s);
            continue;
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + i));
        const __m128i same = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi32(s, lastSource), _mm_cmpeq_epi32(m, lastMask)),
                                           _mm_cmpeq_epi32(d, lastDestination));
        if (_mm_movemask_epi8(same) == 0xffff) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), lastResult);
            continue;
        }
        // Grey levels: weighted channel sums, each pixel's pair of partial sums added up.
        __m128i greyLow = _mm_madd_epi16(_mm_unpacklo_epi8(m, zero), greyWeights);
        __m128i greyHigh = _mm_madd_epi16(_mm_unpackhi_epi8(m, zero), greyWeights);
        greyLow = _mm_srli_epi32(_mm_add_epi32(greyLow, _mm_shuffle_epi32(greyLow, 0xb1)), 5);
        greyHigh = _mm_srli_epi32(_mm_add_epi32(greyHigh, _mm_shuffle_epi32(greyHigh, 0xb1)), 5);
        const __m128i opacity = _mm_sub_epi16(full, _mm_packs_epi32(greyLow, greyHigh));
        const __m128i opacityLow = _mm_unpacklo_epi16(opacity, opacity);
        const __m128i opacityHigh = _mm_unpackhi_epi16(opacity, opacity);

        const __m128i low = blendWide(_mm_unpacklo_epi8(s, zero), opacityLow, _mm_unpacklo_epi8(d, zero));
        const __m128i high = blendWide(_mm_unpackhi_epi8(s, zero), opacityHigh, _mm_unpackhi_epi8(d, zero));
        lastSource = s;
        lastMask = m;
        lastDestination = d;
        lastResult = _mm_packus_epi16(low, high);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), lastResult);
    }
#endif
    for (; i < count; ++i)
        destination[i] = blendThroughMask(source[i], mask[i], destination[i]);
}

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

void Graphics::bindPainter(QPainter* painter)
{
    m_painter = painter;
    m_picture = nullptr;
    if (painter)
        painter->setRenderHint(QPainter::Antialiasing);
}

void Graphics::bindPicture(Picture* picture, QPainter* painter)
{
    m_painter = painter;
    m_picture = picture;
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
    surface.resetTransform();
    surface.fillRect(rect, opaque(m_foreColor));
    noteDrawn(rect);
}

void Graphics::DrawObject(const Ref<Object2D>& shape, double x, double y)
{
    QPainter& surface = painter();
    QRectF touched;
    shape->paint(surface, QTransform::fromTranslate(x, y), extent(), touched);
    noteDrawn(touched);
}

void Graphics::DrawPicture(const Ref<Picture>& picture, double x, double y, double width, double height,
                           double sourceX, double sourceY, double sourceWidth, double sourceHeight)
{
    QPainter& surface = painter();
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
    if (mask && unscaled && drawMaskedPixels(source, *mask, x, y, sourceX, sourceY, sourceWidth, sourceHeight))
        return;

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
        noteDrawn(to & extent());
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
            seenRow[column] = blendThroughMask(sourceRow[copied.left() + column], maskPixels[maskColumn], 0);
        }
    }
    seen.setDevicePixelRatio(sourceRatio);
    surface.drawImage(to, seen, fromPixels.translated(-copied.topLeft()));
    noteDrawn(to & extent());
}

bool Graphics::drawMaskedPixels(Picture& source, Picture& mask, double x, double y, double sourceX,
                                double sourceY, double sourceWidth, double sourceHeight)
{
    if (!m_picture)
        return false;
    const QImage& sourceImage = source.image();
    const QImage& maskImage = mask.image();
    QImage& destination = m_picture->image();
    const double ratio = sourceImage.devicePixelRatio();
    if (maskImage.devicePixelRatio() != ratio || destination.devicePixelRatio() != ratio)
        return false;
    // Only the corners must sit on device pixels: a size that does not (a screen-sized picture
    // at a fractional scale) is rounded and cut to the images below.
    if (!whole(x * ratio) || !whole(y * ratio) || !whole(sourceX * ratio) || !whole(sourceY * ratio))
        return false;

    // A fill through a see-through mask by the painter would go to Qt's thread pool and cost
    // milliseconds; one pass of our own over the rows the picture covers costs a fraction.
    const auto pixel = [ratio](double value) { return static_cast<int>(std::lround(value * ratio)); };
    QRect from = QRect(pixel(sourceX), pixel(sourceY), pixel(sourceWidth), pixel(sourceHeight))
        & source.drawnPixels() & maskImage.rect();
    const QPoint offset(pixel(x) - pixel(sourceX), pixel(y) - pixel(sourceY));
    const QRect to = from.translated(offset) & destination.rect();
    if (to.isEmpty())
        return true;
    from = to.translated(-offset);
    for (int row = 0; row < to.height(); ++row) {
        const auto* sourceRow = reinterpret_cast<const uint32_t*>(sourceImage.constScanLine(from.top() + row)) + from.left();
        const auto* maskRow = reinterpret_cast<const uint32_t*>(maskImage.constScanLine(from.top() + row)) + from.left();
        auto* destinationRow = reinterpret_cast<uint32_t*>(destination.scanLine(to.top() + row)) + to.left();
        blendRowThroughMask(sourceRow, maskRow, destinationRow, to.width());
    }
    noteDrawn(logical(to, ratio));
    return true;
}
