#include "PanelDesigns.h"

#include "DesignKinds.h"

namespace {

constexpr int64_t kAlignRight = 3;

} // namespace

const DesignRecord& wPanelDesign()
{
    static const DesignRecord design = windowDesign({
        .width = 222, .height = 135,
        .minimumWidth = 64, .minimumHeight = 64, .maximumWidth = 32000, .maximumHeight = 32000,
        .type = 3, .title = "Flag show and Music Volume",
        .hasMaximizeButton = false, .resizeable = false, .defaultLocation = 2, .liveResize = false,
    });
    return design;
}

const DesignRecord& SizeSliderDesign()
{
    static const DesignRecord design = sliderDesign({
        .place = { .name = "SizeSlider", .left = 78, .top = 40, .width = 122, .height = 16, .tabIndex = 0 },
        .minimumValue = 180, .maximumValue = 1440, .value = 720, .lineStep = 30, .pageStep = 90,
        .allowLiveScrolling = true,
    });
    return design;
}

const DesignRecord& StaticText1Design()
{
    static const DesignRecord design = panelLabelDesign({
        .place = { .name = "StaticText1", .left = 22, .top = 36, .width = 28, .height = 20, .tabIndex = 1 },
        .text = "Size", .textAlignment = kAlignRight,
    });
    return design;
}

const DesignRecord& SpeedSliderDesign()
{
    static const DesignRecord design = sliderDesign({
        .place = { .name = "SpeedSlider", .left = 78, .top = 15, .width = 122, .height = 16, .tabIndex = 2 },
        .minimumValue = 1, .maximumValue = 6, .value = 4, .lineStep = 1, .pageStep = 1,
        .allowLiveScrolling = false,
    });
    return design;
}

const DesignRecord& StaticText2Design()
{
    static const DesignRecord design = panelLabelDesign({
        .place = { .name = "StaticText2", .left = 12, .top = 11, .width = 47, .height = 20, .tabIndex = 3 },
        .text = "Speed", .textAlignment = kAlignRight,
    });
    return design;
}

const DesignRecord& CheckBoxMDesign()
{
    static const DesignRecord design = checkBoxDesign({
        .place = { .name = "CheckBoxM", .left = 12, .top = 75, .width = 75, .height = 20, .tabIndex = 4 },
        .caption = "Music", .value = true,
    });
    return design;
}

const DesignRecord& VolumeSliderDesign()
{
    static const DesignRecord design = sliderDesign({
        .place = { .name = "VolumeSlider", .left = 78, .top = 99, .width = 123, .height = 16, .tabIndex = 5 },
        .minimumValue = 0, .maximumValue = 100, .value = 30, .lineStep = 5, .pageStep = 10,
        .allowLiveScrolling = true,
    });
    return design;
}

const DesignRecord& StaticText3Design()
{
    static const DesignRecord design = panelLabelDesign({
        .place = { .name = "StaticText3", .left = 8, .top = 95, .width = 58, .height = 20, .tabIndex = 6 },
        .text = "Volume", .textAlignment = kAlignRight,
    });
    return design;
}

const DesignRecord& IdleTimerDesign()
{
    static const DesignRecord design({ { "Period", 1000 }, { "RunMode", 2 } });
    return design;
}

const DesignRecord& CheckBoxGloryDesign()
{
    static const DesignRecord design = checkBoxDesign({
        .place = { .name = "CheckBoxGlory", .left = 12, .top = 55, .width = 100, .height = 20, .tabIndex = 7 },
        .caption = "Glory", .value = false, .lockLeftAndTop = true,
    });
    return design;
}

const DesignRecord& CheckBoxLoopDesign()
{
    static const DesignRecord design = checkBoxDesign({
        .place = { .name = "CheckBoxLoop", .left = 124, .top = 75, .width = 75, .height = 20, .tabIndex = 8 },
        .caption = "Loop", .value = false,
    });
    return design;
}
