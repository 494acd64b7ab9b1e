#include "drawing/OvalShape.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

RUNTIME_CLASS_RECORD(OvalShape, "OvalShape", RectShape)

void OvalShape::buildOutline(QPolygonF& outline, int64_t segmentsPerTurn) const
{
    const double halfWidth = Width() / 2, halfHeight = Height() / 2;
    for (int64_t i = 0; i < segmentsPerTurn; ++i) {
        const double angle = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(segmentsPerTurn);
        outline << QPointF(halfWidth * std::cos(angle), halfHeight * std::sin(angle));
    }
}

int64_t OvalShape::segmentsPerTurn(double deviceScale) const
{
    return segmentsForRadius(std::max(std::abs(Width()), std::abs(Height())) / 2 * deviceScale);
}
