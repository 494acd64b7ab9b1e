#include "FlagDesigns.h"

#include "DesignKinds.h"

const DesignRecord& wFlagDesign()
{
    static const DesignRecord design = windowDesign({
        .width = 360, .height = 240,
        .minimumWidth = 180, .minimumHeight = 120, .maximumWidth = 6000, .maximumHeight = 4000,
        .type = 0, .title = "Beautiful!   Flag of Tarnia",
        .hasMaximizeButton = true, .resizeable = true, .defaultLocation = 0, .liveResize = true,
    });
    return design;
}

const DesignRecord& cnvGroundDesign()
{
    static const DesignRecord design = canvasDesign({
        .place = { .name = "cnvGround", .left = 0, .top = 0, .width = 360, .height = 240, .tabIndex = 0 },
        .initialParent = "",
    });
    return design;
}

const DesignRecord& cnvSkyDesign()
{
    static const DesignRecord design = canvasDesign({
        .place = { .name = "cnvSky", .left = 0, .top = 0, .width = 180, .height = 120, .tabIndex = 0 },
        .initialParent = "cnvGround",
    });
    return design;
}

const DesignRecord& TimerFlagDesign()
{
    static const DesignRecord design({ { "RunMode", 2 }, { "Period", 1000 } });
    return design;
}
