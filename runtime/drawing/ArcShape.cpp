#include "drawing/ArcShape.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

RUNTIME_CLASS_RECORD(ArcShape, "ArcShape", RectShape)

void ArcShape::StartAngle(double radians)
{
    if (radians != m_startAngle) {
        m_startAngle = radians;
        outlineChanged();
    }
}

void ArcShape::ArcAngle(double radians)
{
    if (radians != m_arcAngle) {
        m_arcAngle = radians;
        outlineChanged();
    }
}

void ArcShape::buildOutline(QPolygonF& outline, int64_t segmentsPerTurn) const
{
    constexpr double kFullTurn = 2 * std::numbers::pi;
    const double span = std::clamp(m_arcAngle, -kFullTurn, kFullTurn);
    const double halfWidth = Width() / 2, halfHeight = Height() / 2;
    const auto pieces = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(static_cast<double>(segmentsPerTurn) * std::abs(span) / kFullTurn)));
    if (std::abs(span) < kFullTurn)
        outline << QPointF(0, 0);
    for (int64_t i = 0; i <= pieces; ++i) {
        const double angle = m_startAngle + span * static_cast<double>(i) / static_cast<double>(pieces);
        outline << QPointF(halfWidth * std::cos(angle), halfHeight * std::sin(angle));
    }
}

int64_t ArcShape::segmentsPerTurn(double deviceScale) const
{
    return segmentsForRadius(std::max(std::abs(Width()), std::abs(Height())) / 2 * deviceScale);
}
