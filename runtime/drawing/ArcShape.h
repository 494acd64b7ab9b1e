#pragma once

#include "drawing/RectShape.h"

// A filled sector (pie slice) of the ellipse Width x Height, its apex on the origin. The sector
// starts at StartAngle and spans ArcAngle, both in radians, running clockwise on screen (y down).
class ArcShape : public RectShape {
    RUNTIME_OBJECT(ArcShape)
public:
    double StartAngle() const { return m_startAngle; }
    void StartAngle(double radians);
    double ArcAngle() const { return m_arcAngle; }
    void ArcAngle(double radians);

protected:
    void buildOutline(QPolygonF& outline, int64_t segmentsPerTurn) const override;
    int64_t segmentsPerTurn(double deviceScale) const override;

private:
    double m_startAngle = 0;
    double m_arcAngle = 0;
};
