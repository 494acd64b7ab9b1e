#pragma once

#include <cstdint>

// A rectangle in pixels: its top-left corner and its size.
struct Rect {
    int64_t Left = 0;
    int64_t Top = 0;
    int64_t Width = 0;
    int64_t Height = 0;

    bool operator==(const Rect&) const = default;
};
