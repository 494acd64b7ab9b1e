#pragma once

#include "object/DesignRecord.h"

// The control panel and its ten controls, in the order they are made.
const DesignRecord& wPanelDesign();
const DesignRecord& SizeSliderDesign();
const DesignRecord& StaticText1Design();
const DesignRecord& SpeedSliderDesign();
const DesignRecord& StaticText2Design();
const DesignRecord& CheckBoxMDesign();
const DesignRecord& VolumeSliderDesign();
const DesignRecord& StaticText3Design();
const DesignRecord& IdleTimerDesign();
const DesignRecord& CheckBoxGloryDesign();
const DesignRecord& CheckBoxLoopDesign();
