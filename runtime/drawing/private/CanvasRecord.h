#pragma once

// Internal to the runtime: what a canvas's Paint event drew, kept so the canvas can be shown
// again from it, and so a repeat of the same drawing repaints only the pixels of its pictures
// that changed since the canvas last showed them.

#include "drawing/private/GraphicsTarget.h"
#include "drawing/private/Raster.h"
#include "object/Object.h"

#include <cstdint>
#include <vector>

class PainterTarget;
class QPainter;
class QRect;
class QRegion;

class CanvasRecord final : public GraphicsTarget {
public:
    void clear() { m_entries.clear(); }
    // What the Paint event draws: kept, not drawn.
    void fillRect(Color colour, int64_t x, int64_t y, int64_t width, int64_t height) override;
    void drawObject(const Ref<Object2D>& shape, double x, double y) override;
    void drawPicture(const Ref<Picture>& picture, const PictureLay& lay) override;

    // Draws it all on `target`, which paints with `painter` the area `region` (shapes as they are now).
    void replay(PainterTarget& target, QPainter& painter, const QRegion& region) const;
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
        // A fill's rectangle, a shape's position.
        int64_t fill[4] {};
        double x = 0;
        double y = 0;
        Ref<Object2D> shape;
        Ref<Picture> picture;
        PictureLay lay {};
        int64_t shownVersion = -1;
    };
    // The offset in device pixels at which an entry lays its picture unscaled; false when it does not.
    static bool laidAt(const Entry& entry, double pixelRatio, int& dx, int& dy);

    std::vector<Entry> m_entries;
};
