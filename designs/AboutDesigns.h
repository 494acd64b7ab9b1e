#pragma once

#include "object/DesignRecord.h"

// The about window and its seven controls, in the order they are made.
const DesignRecord& wAboutDesign();
const DesignRecord& sTextURLDesign();
const DesignRecord& bWebDesign();
const DesignRecord& bMailDesign();
const DesignRecord& bRtnDesign();
const DesignRecord& sTextMailDesign();
const DesignRecord& sTextIntroDesign();
const DesignRecord& sTextAuthDesign();
