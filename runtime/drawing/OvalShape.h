#pragma once

#include "drawing/RectShape.h"

// An ellipse of Width x Height centred on its origin.
class OvalShape : public RectShape {
    RUNTIME_OBJECT(OvalShape)

protected:
    bool turnsFreely() const override { return Width() == Height(); }
    void buildOutline(QPolygonF& outline, int64_t segmentsPerTurn) const override;
    int64_t segmentsPerTurn(double deviceScale) const override;
};
