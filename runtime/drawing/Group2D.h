#pragma once

#include "drawing/Object2D.h"

#include <vector>

// Shapes drawn together: each child in append order, in its own colours, placed relative to the
// group's origin and turned and scaled with the group. The group's own colours are not used.
class Group2D : public Object2D {
    RUNTIME_OBJECT(Group2D)
public:
    // Adds a shape on top of the others; throws NilObjectException for an absent one.
    void Append(const Ref<Object2D>& shape);
    int64_t Count() const { return static_cast<int64_t>(m_children.size()); }
    // The child at `index` (0 is the first appended); throws OutOfBoundsException outside 0..Count-1.
    Ref<Object2D> Item(int64_t index) const;

    bool placeable() const override;
    void place(const QTransform& outer, double pixelRatio, Sink& sink) override;
    void paint(QPainter& painter, const QTransform& outer, const QRectF& clip, QRectF& touched) override;

private:
    std::vector<Ref<Object2D>> m_children;
};
