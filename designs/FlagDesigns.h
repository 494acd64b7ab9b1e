#pragma once

#include "object/DesignRecord.h"

// The flag window and its controls, as they are made.
const DesignRecord& wFlagDesign();
const DesignRecord& cnvGroundDesign();
const DesignRecord& cnvSkyDesign();
const DesignRecord& TimerFlagDesign();
