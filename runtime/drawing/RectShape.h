#pragma once

#include "drawing/Object2D.h"

// A rectangle of Width x Height centred on its origin.
class RectShape : public Object2D {
    RUNTIME_OBJECT(RectShape)
public:
    double Width() const { return m_width; }
    void Width(double width);
    double Height() const { return m_height; }
    void Height(double height);

protected:
    void buildOutline(QPolygonF& outline, int64_t segmentsPerTurn) const override;

private:
    double m_width = 0;
    double m_height = 0;
};
