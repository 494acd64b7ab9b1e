#pragma once

// Graphics: a drawing surface, that of a Picture (Picture.Graphics) or of a canvas being painted.
//
// Runtime side, for canvases: Graphics::forPainter(&painter) wraps the QPainter that a widget's
// paintEvent opened, so the Paint event can be handed a Ref<Graphics>. After the event call
// bindPainter(nullptr): drawing on the surface afterwards throws NilObjectException. One Graphics
// per canvas can be kept and re-bound on every paint, so painting allocates nothing.
// Binding turns on the painter's antialiasing; each call then sets the painter's transform, pen
// and brush as it needs, and nothing else. What the surface draws on is a GraphicsTarget
// (drawing/private/GraphicsTarget.h): a picture, a canvas's record or a painter.

#include "object/Object.h"

#include <cstdint>
#include <memory>

class GraphicsTarget;
class Object2D;
class PainterTarget;
class Picture;
class QPainter;

class Graphics : public Object {
    RUNTIME_OBJECT(Graphics)
public:
    // A DrawPicture argument with this value is left out.
    static constexpr double kLeftOut = -10000.0;

    // A surface bound to nothing; drawing on it throws NilObjectException.
    Graphics();
    ~Graphics() override;

    // Colour of the fills that follow.
    Color ForeColor() const { return m_foreColor; }
    void ForeColor(Color color) { m_foreColor = color; }

    // Fills the rectangle with ForeColor; nothing for a width or height of 0 or less.
    void FillRect(int64_t x, int64_t y, int64_t width, int64_t height);
    // Draws the shape in its own colours, turned and scaled about its origin, which lands at
    // (x, y) moved by the shape's own X and Y.
    void DrawObject(const Ref<Object2D>& shape, double x, double y);
    // Draws the part (sourceX, sourceY, sourceWidth, sourceHeight) of `picture` into the rectangle
    // (x, y, width, height); a size left out is the picture's own width or height. A picture with
    // a mask is seen through it: opacity 255 - grey level of the mask pixel, so black is opaque and
    // white transparent; only the part the mask covers is drawn.
    void DrawPicture(const Ref<Picture>& picture, double x, double y, double width = kLeftOut,
                     double height = kLeftOut, double sourceX = 0, double sourceY = 0,
                     double sourceWidth = kLeftOut, double sourceHeight = kLeftOut);

    // Runtime side: a surface that draws with `painter` (see the top of this file).
    static Ref<Graphics> forPainter(QPainter* painter);
    // Runtime side: draws with `painter` from now on; nullptr leaves the surface unbound.
    void bindPainter(QPainter* painter);
    // Runtime side: draws on `target` from now on; nullptr leaves the surface unbound.
    void bindTarget(GraphicsTarget* target);

private:
    // What the surface draws on; throws NilObjectException when it is bound to nothing.
    GraphicsTarget& target() const;

    GraphicsTarget* m_target = nullptr;
    // The target bindPainter binds, kept from one paint to the next.
    std::unique_ptr<PainterTarget> m_painterTarget;
    Color m_foreColor { 0x000000 };
};
