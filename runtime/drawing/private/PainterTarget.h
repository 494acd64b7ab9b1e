#pragma once

// Internal to the runtime: drawing with a QPainter, straight onto what it paints: a window's or a
// canvas's paint. PictureTarget draws on a picture the same way where the picture's record
// cannot take what is drawn.

#include "drawing/private/GraphicsTarget.h"

#include <QRectF>

class QPainter;
class QRect;

class PainterTarget : public GraphicsTarget {
public:
    PainterTarget() = default;
    virtual ~PainterTarget() = default;
    PainterTarget(const PainterTarget&) = delete;
    PainterTarget& operator=(const PainterTarget&) = delete;

    // Draws with `painter` from now on, antialiased; nullptr leaves nothing to draw with.
    void bind(QPainter* painter);

    void fillRect(Color colour, int64_t x, int64_t y, int64_t width, int64_t height) override;
    void drawObject(const Ref<Object2D>& shape, double x, double y) override;
    void drawPicture(const Ref<Picture>& picture, const PictureLay& lay) override;

protected:
    // Draws with `painter` as it is set up.
    explicit PainterTarget(QPainter& painter) : m_painter(&painter) { }

    QPainter& painter() const { return *m_painter; }
    // The surface's extent in its own units.
    virtual QRectF extent() const;
    // Fills the rectangle, already cut to the surface.
    virtual void fillCut(const QRect& rect, Color colour);
    // Draws the shape some way other than with the painter; false when it has to be painted.
    virtual bool drawnOtherwise(Object2D& shape, double x, double y);
    // Lays the picture at its own size some way other than with the painter; false when it has
    // to be painted.
    virtual bool laidOtherwise(const Ref<Picture>& picture, const Ref<Picture>& mask, const PictureLay& lay);
    // Before and after painting on the surface, `area` the part painted.
    virtual void beginPainting() { }
    virtual void endPainting(const QRectF& area);

private:
    void paintPicture(Picture& source, const Ref<Picture>& mask, const PictureLay& lay);

    QPainter* m_painter = nullptr;
};
