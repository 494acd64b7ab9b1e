#pragma once

// Internal to the runtime: drawing on a picture. Fills, shapes without an outline and lays at
// whole device pixels go into the picture's record, which draws them when the pixels are needed;
// anything else is painted on the pixels at once, with the painter the picture keeps open on them.

#include "drawing/private/PainterTarget.h"

class PictureTarget final : public PainterTarget {
public:
    PictureTarget(Picture& picture, QPainter& painter);

private:
    QRectF extent() const override;
    void fillCut(const QRect& rect, Color colour) override;
    bool drawnOtherwise(Object2D& shape, double x, double y) override;
    bool laidOtherwise(const Ref<Picture>& picture, const Ref<Picture>& mask, const PictureLay& lay) override;
    void beginPainting() override;
    void endPainting(const QRectF& area) override;

    Picture& m_picture;
};
