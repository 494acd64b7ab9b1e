#include "drawing/FigureShape.h"

#include <QPolygonF>

RUNTIME_CLASS_RECORD(FigureShape, "FigureShape", Object2D)

void FigureShape::AddLine(float x1, float y1, float x2, float y2)
{
    m_segments.push_back({ x1, y1, x2, y2 });
    outlineChanged();
}

void FigureShape::buildOutline(QPolygonF& outline, int64_t) const
{
    for (const Segment& segment : m_segments) {
        const QPointF start(segment.x1, segment.y1);
        // A segment that does not start where the last one ended is joined to it by a straight edge.
        if (outline.isEmpty() || outline.back() != start)
            outline << start;
        outline << QPointF(segment.x2, segment.y2);
    }
    if (outline.size() > 1 && outline.front() == outline.back())
        outline.removeLast();
}
