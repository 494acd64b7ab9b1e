#pragma once

// Internal to the runtime: what a canvas's Paint event drew, kept so the canvas can be shown
// again from it, and so a repeat of the same drawing repaints only the pixels of its pictures
// that changed since the canvas last showed them.

#include "object/Object.h"
#include "drawing/private/Raster.h"
#include "object/Ref.h"

#include <cstdint>
#include <vector>

class Graphics;
class Object2D;
class Picture;
class QPainter;
class QRect;
class QRegion;

class CanvasRecord {
public:
    void clear() { m_entries.clear(); }
    void addFill(Color colour, int64_t x, int64_t y, int64_t width, int64_t height);
    void addShape(const Ref<Object2D>& shape, double x, double y);
    // A DrawPicture with its arguments as given (left-out ones included).
    void addPicture(const Ref<Picture>& picture, const double (&arguments)[8]);

    // Draws it all on `surface`, which paints with `painter` the area `region` (shapes as they are now).
    void replay(Graphics& surface, QPainter& painter, const QRegion& region) const;
    // Adds to `bands` (one row per band of kBandRows device rows) the device pixels that differ
    // from what `shown` drew; false when that is not known, which means all of them.
    bool changesFrom(const CanvasRecord& shown, double pixelRatio, raster::Damage& bands) const;
    // Notes that the pictures are shown as they are now.
    void noteShown();
    // The device pixels its pictures cover with opaque pixels, counted from the canvas's corner.
    QRect opaquePixels(double pixelRatio) const;
    void swap(CanvasRecord& other) { m_entries.swap(other.m_entries); }

    static constexpr int kBandRows = 32;

private:
    struct Entry {
        enum class Kind { Fill, Shape, Picture } kind = Kind::Fill;
        Color colour;
        double arguments[8] {};
        Ref<Object2D> shape;
        Ref<Picture> picture;
        int64_t shownVersion = -1;
    };
    // The offset in device pixels at which an entry lays its picture unscaled; false when it does not.
    static bool laidAt(const Entry& entry, double pixelRatio, int& dx, int& dy);

    std::vector<Entry> m_entries;
};
