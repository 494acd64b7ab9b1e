#pragma once

// Picture: an off-screen image to draw on through its Graphics and to draw with DrawPicture.
//
// Runtime side, for canvases and other drawing code: image() is the QImage behind the picture
// (premultiplied ARGB32, in device pixels, carrying the screen's device pixel ratio), with
// everything drawn so far in it. Read it freely until the next frame is drawn on the picture
// (a copy shares its pixels: copy() keeps a frame); draw on it only through Graphics, which
// keeps drawnPixels() and the picture's record() right.

#include "object/Object.h"

#include <cstdint>
#include <memory>

class Graphics;
class PictureRecord;
class QImage;
class QPainter;
class QRect;
class QRectF;

class Picture : public Object {
    RUNTIME_OBJECT(Picture)
public:
    // A 1 x 1 picture (what a bare allocation of the class gets).
    Picture();
    // A transparent picture of width x height screen units, drawn at the main screen's pixel
    // density; throws OutOfBoundsException for a width or height outside 1 to 32767.
    Picture(int64_t width, int64_t height, int64_t depth);
    ~Picture() override;

    // Makes a new picture as the constructor above does.
    static Ref<Picture> Constructor(int64_t width, int64_t height, int64_t depth);

    // Size in screen units, as made.
    int64_t Width() const { return m_width; }
    int64_t Height() const { return m_height; }
    int64_t Depth() const { return m_depth; }

    // The picture's drawing surface: the same object on every call.
    Ref<::Graphics> Graphics() const { return m_graphics; }

    // The picture this one is seen through when drawn (absent: none).
    Ref<Picture> Mask() const { return m_mask; }
    void Mask(const Ref<Picture>& mask) { m_mask = mask; }

    // Runtime side: the pixels (see the top of this file).
    QImage& image();
    const QImage& image() const;
    // Runtime side: the same, of which only rows top to bottom - 1 (device pixels) may be read.
    const QImage& imageRows(int top, int bottom) const;
    // Runtime side: the image's device pixel ratio and its extent in device pixels.
    double pixelRatio() const;
    QRect pixelRect() const;
    // Runtime side: the device pixels drawn on since the picture was made; the rest is transparent.
    QRect drawnPixels() const;
    // Runtime side: widens drawnPixels() by `area`, in the picture's units.
    void noteDrawn(const QRectF& area);
    // Runtime side: widens drawnPixels() by `pixels`, in device pixels.
    void noteDrawnPixels(const QRect& pixels);
    // Runtime side: what has been drawn on the picture and is not yet in image().
    PictureRecord& record();

private:
    struct Surface;

    int64_t m_width = 1;
    int64_t m_height = 1;
    int64_t m_depth = 32;
    std::unique_ptr<Surface> m_surface;
    Ref<::Graphics> m_graphics;
    Ref<Picture> m_mask;
};
