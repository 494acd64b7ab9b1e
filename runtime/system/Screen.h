#pragma once

#include "object/Object.h"

#include <cstdint>

// A screen's full geometry in screen units, as it was when asked for.
class ScreenInfo : public Object {
    RUNTIME_OBJECT(ScreenInfo)
public:
    ScreenInfo() = default;
    ScreenInfo(int64_t left, int64_t top, int64_t width, int64_t height);

    int64_t Left() const { return m_left; }
    int64_t Top() const { return m_top; }
    int64_t Width() const { return m_width; }
    int64_t Height() const { return m_height; }

private:
    int64_t m_left = 0;
    int64_t m_top = 0;
    int64_t m_width = 0;
    int64_t m_height = 0;
};

// The screen at `index`, 0 being the main screen; empty for an index with no screen.
Ref<ScreenInfo> Screen(int64_t index);
