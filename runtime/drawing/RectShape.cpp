#include "drawing/RectShape.h"

#include <QPolygonF>

RUNTIME_CLASS_RECORD(RectShape, "RectShape", Object2D)

void RectShape::Width(double width)
{
    if (width != m_width) {
        m_width = width;
        outlineChanged();
    }
}

void RectShape::Height(double height)
{
    if (height != m_height) {
        m_height = height;
        outlineChanged();
    }
}

void RectShape::buildOutline(QPolygonF& outline, int64_t) const
{
    const double halfWidth = m_width / 2, halfHeight = m_height / 2;
    outline << QPointF(-halfWidth, -halfHeight) << QPointF(halfWidth, -halfHeight)
            << QPointF(halfWidth, halfHeight) << QPointF(-halfWidth, halfHeight);
}
