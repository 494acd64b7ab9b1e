#pragma once

#include "object/Object.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class QPainter;
class QPointF;
class QPolygonF;
class QRectF;
class QTransform;

// A vector shape that Graphics.DrawObject draws: an origin, a turn and a scale about it, a fill
// and an optional outline. Positive turns run clockwise on screen (y down).
//
// Runtime side: paint() draws through a QPainter. The outline is kept as a polygon in the
// shape's own units and rebuilt only when its geometry (or the detail its size needs) changes.
class Object2D : public Object {
    RUNTIME_OBJECT(Object2D)
public:
    Object2D();
    ~Object2D() override;

    // The origin, relative to the point the shape is drawn at (or its group's origin).
    double X() const { return m_x; }
    void X(double x) { m_x = x; }
    double Y() const { return m_y; }
    void Y(double y) { m_y = y; }
    // Turn about the origin, in radians.
    double Rotation() const { return m_rotation; }
    void Rotation(double radians) { m_rotation = radians; }
    // Scale about the origin; 1 is the shape's own size.
    double Scale() const { return m_scale; }
    void Scale(double scale) { m_scale = scale; }
    // Colour of the inside.
    Color FillColor() const { return m_fillColor; }
    void FillColor(Color color);
    // Width of the outline in the shape's units; 0 draws none.
    double BorderWidth() const { return m_borderWidth; }
    void BorderWidth(double width);
    Color BorderColor() const { return m_borderColor; }
    void BorderColor(Color color);

    // Runtime side: takes the fills of shapes, each a closed outline in device pixels with its colour.
    class Sink {
    public:
        virtual void fill(const QPointF* points, size_t count, Color colour) = 0;

    protected:
        virtual ~Sink() = default;
    };
    // Runtime side: the shape can be handed to place(): it has no outline to stroke.
    virtual bool placeable() const { return m_borderWidth <= 0; }
    // Runtime side: hands `sink` the shape's fills in drawing order, placed as paint() places them,
    // in device pixels of a surface with `pixelRatio` pixels per unit. Only for placeable() shapes.
    virtual void place(const QTransform& outer, double pixelRatio, Sink& sink);
    // Runtime side: draws the shape placed by its own position, turn and scale followed by `outer`,
    // keeping inside `clip` (the surface's units), and widens `touched` by the area it painted.
    // Leaves the painter's transform at identity.
    virtual void paint(QPainter& painter, const QTransform& outer, const QRectF& clip, QRectF& touched);

protected:
    // The closed outline in the shape's own units; full turns of curves in `segmentsPerTurn` pieces.
    virtual void buildOutline(QPolygonF& outline, int64_t segmentsPerTurn) const;
    // Pieces per full turn that the shape's curves need to look round at `deviceScale` device
    // pixels per unit; 0 for a shape without curves.
    virtual int64_t segmentsPerTurn(double deviceScale) const;
    // A shape that looks the same however it is turned (a circle): its outline is then placed
    // unturned, so a turn alone leaves its pixels as they were.
    virtual bool turnsFreely() const { return false; }
    // Subclasses call this when their geometry changes, so the outline is rebuilt before the next paint.
    void outlineChanged();
    // The shape's own placement (position, turn, scale) followed by `outer`.
    QTransform placement(const QTransform& outer) const;
    // Pieces per full turn that keep a curve of this radius (device pixels) within a tenth of a
    // pixel of true, in steps of 8 so that small changes of size keep the cached outline.
    static int64_t segmentsForRadius(double radiusInPixels);

private:
    struct Cache;
    const Cache& cachedOutline(double deviceScale);
    double deviceScaleOf(const QTransform& transform, double pixelRatio) const;

    double m_x = 0;
    double m_y = 0;
    double m_rotation = 0;
    double m_scale = 1;
    Color m_fillColor { 0x000000 };
    double m_borderWidth = 0;
    Color m_borderColor { 0x000000 };
    std::unique_ptr<Cache> m_cache;
};
