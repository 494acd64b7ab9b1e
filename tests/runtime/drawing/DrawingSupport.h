#pragma once

#include "drawing/Picture.h"

#include <QColor>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <ostream>

namespace test {

// A pixel read back from a picture, unpremultiplied.
struct Pixel {
    uint32_t rgb;
    int alpha;

    bool operator==(const Pixel&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Pixel& pixel)
    {
        char text[32];
        std::snprintf(text, sizeof text, "0x%06X alpha %d", pixel.rgb, pixel.alpha);
        return out << text;
    }
};

// The pixel at (x, y) in the picture's units.
inline Pixel pixelAt(Picture& picture, double x, double y)
{
    const QImage& image = picture.image();
    const double ratio = image.devicePixelRatio();
    const QRgb value = image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
    const QColor colour = QColor::fromRgba(qUnpremultiply(value));
    return { colour.rgb() & 0xFFFFFFu, qAlpha(value) };
}

inline Pixel opaque(uint32_t rgb)
{
    return { rgb, 255 };
}

inline constexpr Pixel kTransparent { 0, 0 };

// True when every channel of `a` is within `tolerance` of `b`'s.
inline bool near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift : { 0, 8, 16 }) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

} // namespace test
