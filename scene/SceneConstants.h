#pragma once

#include "object/Object.h"

#include <cstdint>

// Angles are fractions of this pi, worked out in double precision.
inline constexpr double kPi = 3.14159265;
inline constexpr double kOneDegree = kPi / 180;
inline constexpr double kOneTurn = 6.2831853;

// Timer.Mode for an Action event every period.
inline constexpr int64_t kTimerRepeating = 2;

inline constexpr Color kFieldRed { 0xF20000 };
inline constexpr Color kCantonBlue { 0x0029CC };
inline constexpr Color kSunWhite { 0xFFFFFF };
inline constexpr Color kGloryShade { 0x222222 };
inline constexpr Color kGloryClear { 0x000000 };

// 2400 design units span the canton's width; the glory sector is drawn 30 times larger.
inline constexpr double kDesignUnitsPerCanton = 2400.0;
inline constexpr double kGloryScaleFactor = 30.0;
