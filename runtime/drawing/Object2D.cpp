#include "drawing/Object2D.h"

#include "drawing/private/Raster.h"

#include <QBrush>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

RUNTIME_CLASS_RECORD(Object2D, "Object2D", Object)

struct Object2D::Cache {
    QPolygonF outline;
    bool outlineValid = false;
    int64_t segmentsPerTurn = -1;
    QBrush fill;
    QPen border;
};

namespace {

// Qt's antialiasing rasterizer slows down sharply on tall shapes (its cell pool overflows and it
// re-renders in ever smaller bands), so fills go to it in strips of this many device rows. A cut
// on a whole row gives each row exactly the coverage it would have had: there is no seam.
constexpr double kStripRows = 32;

QColor opaque(Color color)
{
    return QColor::fromRgb(color.rgb | 0xFF000000u);
}

QRectF boundsOf(const std::vector<QPointF>& points)
{
    double left = points.front().x(), right = left, top = points.front().y(), bottom = top;
    for (const QPointF& point : points) {
        left = std::min(left, point.x());
        right = std::max(right, point.x());
        top = std::min(top, point.y());
        bottom = std::max(bottom, point.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

void fill(QPainter& painter, const std::vector<QPointF>& polygon)
{
    if (polygon.size() >= 3)
        painter.drawPolygon(polygon.data(), static_cast<int>(polygon.size()), Qt::OddEvenFill);
}

// Scratch space shared by every fill on the one user-interface thread; it keeps its capacity,
// so steady frames do not allocate.
struct Scratch {
    std::vector<QPointF> placed, work, strip;
};

Scratch& scratch()
{
    static Scratch buffers;
    return buffers;
}

} // namespace

Object2D::Object2D()
    : m_cache(std::make_unique<Cache>())
{
    m_cache->fill = QBrush(opaque(m_fillColor));
    m_cache->border = QPen(opaque(m_borderColor), m_borderWidth);
}

Object2D::~Object2D() = default;

void Object2D::FillColor(Color color)
{
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    m_cache->fill.setColor(opaque(color));
}

void Object2D::BorderWidth(double width)
{
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    m_cache->border.setWidthF(std::max(width, 0.0));
}

void Object2D::BorderColor(Color color)
{
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    m_cache->border.setColor(opaque(color));
}

void Object2D::buildOutline(QPolygonF&, int64_t) const
{
}

int64_t Object2D::segmentsPerTurn(double) const
{
    return 0;
}

int64_t Object2D::segmentsForRadius(double radiusInPixels)
{
    constexpr double kTolerance = 0.1;
    constexpr int64_t kFewest = 16, kMost = 4096;
    if (!(radiusInPixels > kTolerance))
        return kFewest;
    const double step = 2 * std::acos(1 - kTolerance / radiusInPixels);
    const auto segments = static_cast<int64_t>(std::ceil(2 * std::numbers::pi / step / 8)) * 8;
    return std::clamp(segments, kFewest, kMost);
}

void Object2D::outlineChanged()
{
    m_cache->outlineValid = false;
}

QTransform Object2D::placement(const QTransform& outer) const
{
    QTransform own;
    own.translate(m_x, m_y);
    own.rotateRadians(m_rotation);
    own.scale(m_scale, m_scale);
    return own * outer;
}

const Object2D::Cache& Object2D::cachedOutline(double deviceScale)
{
    const int64_t segments = segmentsPerTurn(deviceScale);
    if (!m_cache->outlineValid || segments != m_cache->segmentsPerTurn) {
        m_cache->outline.clear();
        buildOutline(m_cache->outline, segments);
        m_cache->segmentsPerTurn = segments;
        m_cache->outlineValid = true;
    }
    return *m_cache;
}

double Object2D::deviceScaleOf(const QTransform& transform, double pixelRatio) const
{
    return std::max(std::hypot(transform.m11(), transform.m12()), std::hypot(transform.m21(), transform.m22())) * pixelRatio;
}

void Object2D::place(const QTransform& outer, double pixelRatio, Sink& sink)
{
    const QTransform transform = placement(outer);
    const Cache& cache = cachedOutline(deviceScaleOf(transform, pixelRatio));
    if (cache.outline.size() < 3)
        return;
    Scratch& buffers = scratch();
    buffers.placed.clear();
    const double scale = std::hypot(transform.m11(), transform.m12());
    const bool similar = std::abs(scale - std::hypot(transform.m21(), transform.m22())) < 1e-12 * scale
        && std::abs(transform.m11() * transform.m21() + transform.m12() * transform.m22()) < 1e-12 * scale * scale
        && transform.type() <= QTransform::TxRotate;
    if (turnsFreely() && similar) {
        const QPointF centre = transform.map(QPointF(0, 0));
        for (const QPointF& point : cache.outline)
            buffers.placed.push_back((centre + point * scale) * pixelRatio);
    } else {
        for (const QPointF& point : cache.outline)
            buffers.placed.push_back(transform.map(point) * pixelRatio);
    }
    sink.fill(buffers.placed.data(), buffers.placed.size(), m_fillColor);
}

void Object2D::paint(QPainter& painter, const QTransform& outer, const QRectF& clip, QRectF& touched)
{
    static const QPen noPen(Qt::NoPen);
    const QTransform transform = placement(outer);
    const double pixelRatio = painter.device()->devicePixelRatio();
    const double deviceScale = deviceScaleOf(transform, pixelRatio);
    const Cache& cache = cachedOutline(deviceScale);
    if (cache.outline.size() < 3)
        return;

    if (m_borderWidth > 0) {
        // Outlined shapes are rare here; Qt strokes them whole.
        painter.setTransform(transform);
        painter.setPen(cache.border);
        painter.setBrush(cache.fill);
        painter.drawPolygon(cache.outline, Qt::OddEvenFill);
        painter.resetTransform();
        const double halfPen = m_borderWidth * deviceScale / pixelRatio / 2 + 1;
        touched |= transform.mapRect(cache.outline.boundingRect()).adjusted(-halfPen, -halfPen, halfPen, halfPen) & clip;
        return;
    }

    Scratch& buffers = scratch();
    buffers.placed.clear();
    for (const QPointF& point : cache.outline)
        buffers.placed.push_back(transform.map(point));

    painter.resetTransform();
    painter.setPen(noPen);
    painter.setBrush(cache.fill);

    // Parts outside the surface cost rasterizing time but show nothing: cut them off first.
    std::vector<QPointF>& clipped = buffers.placed;
    raster::clipToBox(clipped, buffers.work, clip.left(), clip.top(), clip.right(), clip.bottom());
    if (clipped.size() < 3)
        return;
    const QRectF bounds = boundsOf(clipped);
    touched |= bounds;

    const double firstRow = std::floor(bounds.top() * pixelRatio / kStripRows) * kStripRows;
    const double lastRow = bounds.bottom() * pixelRatio;
    if (lastRow - firstRow <= kStripRows) {
        fill(painter, clipped);
        return;
    }
    for (double row = firstRow; row < lastRow; row += kStripRows) {
        raster::clipToEdge(clipped, buffers.work, raster::ClipEdge::Top, row / pixelRatio);
        raster::clipToEdge(buffers.work, buffers.strip, raster::ClipEdge::Bottom, (row + kStripRows) / pixelRatio);
        fill(painter, buffers.strip);
    }
}
