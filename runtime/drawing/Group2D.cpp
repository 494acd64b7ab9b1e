#include "drawing/Group2D.h"

#include <QRectF>
#include <QTransform>

#include <algorithm>

RUNTIME_CLASS_RECORD(Group2D, "Group2D", Object2D)

void Group2D::Append(const Ref<Object2D>& shape)
{
    if (shape.isNil())
        throw NilObjectException();
    m_children.push_back(shape);
}

Ref<Object2D> Group2D::Item(int64_t index) const
{
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("Group2D item " + std::to_string(index) + " of " + std::to_string(Count()));
    return m_children[static_cast<size_t>(index)];
}

void Group2D::paint(QPainter& painter, const QTransform& outer, const QRectF& clip, QRectF& touched)
{
    const QTransform transform = placement(outer);
    for (const Ref<Object2D>& child : m_children)
        child->paint(painter, transform, clip, touched);
}

bool Group2D::placeable() const
{
    return std::all_of(m_children.begin(), m_children.end(), [](const Ref<Object2D>& child) { return child->placeable(); });
}

void Group2D::place(const QTransform& outer, double pixelRatio, Sink& sink)
{
    const QTransform transform = placement(outer);
    for (const Ref<Object2D>& child : m_children)
        child->place(transform, pixelRatio, sink);
}
