#pragma once

// Internal to the runtime: what a Graphics draws on. A picture's Graphics draws on the picture
// (PictureTarget), a canvas's Paint event into the canvas's record (CanvasRecord), a window's
// Paint event and a canvas's repaint with the paint's painter (PainterTarget): one interface,
// so Graphics asks nothing of what it draws on.

#include "object/Object.h"

#include <cstdint>

class Object2D;
class Picture;

// Where DrawPicture takes a picture's part (sourceX, sourceY, sourceWidth, sourceHeight) to:
// the rectangle (x, y, width, height). Every size is given, none left out, and all are positive.
struct PictureLay {
    double x;
    double y;
    double width;
    double height;
    double sourceX;
    double sourceY;
    double sourceWidth;
    double sourceHeight;

    bool operator==(const PictureLay&) const = default;
    // True when the picture is laid at its own size.
    bool unscaled() const { return width == sourceWidth && height == sourceHeight; }
};

class GraphicsTarget {
public:
    // Fills the rectangle with an opaque colour; its width and height are positive.
    virtual void fillRect(Color colour, int64_t x, int64_t y, int64_t width, int64_t height) = 0;
    // Draws the shape with its origin at (x, y).
    virtual void drawObject(const Ref<Object2D>& shape, double x, double y) = 0;
    // Draws the picture, seen through its mask if it has one.
    virtual void drawPicture(const Ref<Picture>& picture, const PictureLay& lay) = 0;

protected:
    ~GraphicsTarget() = default;
};
