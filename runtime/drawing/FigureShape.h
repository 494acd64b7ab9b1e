#pragma once

#include "drawing/Object2D.h"

#include <vector>

// A filled figure whose outline is the line segments added to it, joined in order and closed.
class FigureShape : public Object2D {
    RUNTIME_OBJECT(FigureShape)
public:
    // Adds the segment from (x1, y1) to (x2, y2), in the figure's own units.
    void AddLine(float x1, float y1, float x2, float y2);

protected:
    void buildOutline(QPolygonF& outline, int64_t segmentsPerTurn) const override;

private:
    struct Segment {
        float x1, y1, x2, y2;
    };
    std::vector<Segment> m_segments;
};
