#pragma once

#include "object/DesignRecord.h"

#include <cstdint>
#include <string>

// The values that differ between the designs of one kind. Each builder writes every
// property of its kind, in the key order that kind's records keep.

inline constexpr int64_t kNoControlSet = -2147483648LL;

struct WindowDesignValues {
    int64_t width, height, minimumWidth, minimumHeight, maximumWidth, maximumHeight;
    int64_t type;
    const char* title;
    bool hasMaximizeButton;
    bool resizeable;
    int64_t defaultLocation;
    bool liveResize;
};
DesignRecord windowDesign(const WindowDesignValues& values);

// Names and captions are literals: plain pointers keep GCC's optimiser from false alarms
// about aggregates of strings.
struct ControlPlace {
    const char* name;
    int64_t left, top, width, height;
    int64_t tabIndex;
};

struct CanvasDesignValues {
    ControlPlace place;
    const char* initialParent;
};
DesignRecord canvasDesign(const CanvasDesignValues& values);

struct SliderDesignValues {
    ControlPlace place;
    int64_t minimumValue, maximumValue, value, lineStep, pageStep;
    bool allowLiveScrolling;
};
DesignRecord sliderDesign(const SliderDesignValues& values);

struct CheckBoxDesignValues {
    ControlPlace place;
    const char* caption;
    bool value;
    bool lockLeftAndTop = false;
};
DesignRecord checkBoxDesign(const CheckBoxDesignValues& values);

struct LabelDesignValues {
    ControlPlace place;
    std::string text;
    int64_t textAlignment;
    bool multiline = false;
    const char* fontName = "System";
    float fontSize = 0.0f;
};
// The panel's labels keep one key order, the about window's another.
DesignRecord panelLabelDesign(const LabelDesignValues& values);
DesignRecord aboutLabelDesign(const LabelDesignValues& values);

struct PushButtonDesignValues {
    ControlPlace place;
    const char* caption;
    bool isDefault;
};
DesignRecord pushButtonDesign(const PushButtonDesignValues& values);
