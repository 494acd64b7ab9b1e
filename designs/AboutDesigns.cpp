#include "AboutDesigns.h"

#include "DesignKinds.h"
#include "Links.h"

namespace {

constexpr int64_t kAlignCentre = 2;

} // namespace

const DesignRecord& wAboutDesign()
{
    static const DesignRecord design = windowDesign({
        .width = 447, .height = 225,
        .minimumWidth = 64, .minimumHeight = 64, .maximumWidth = 32000, .maximumHeight = 32000,
        .type = 0, .title = "About this software",
        .hasMaximizeButton = false, .resizeable = false, .defaultLocation = 0, .liveResize = false,
    });
    return design;
}

const DesignRecord& sTextURLDesign()
{
    static const DesignRecord design = aboutLabelDesign({
        .place = { .name = "sTextURL", .left = 33, .top = 117, .width = 224, .height = 31, .tabIndex = 0 },
        .text = kMakerWebAddress, .textAlignment = kAlignCentre,
        .multiline = false, .fontName = "Arial", .fontSize = 24.0f,
    });
    return design;
}

const DesignRecord& bWebDesign()
{
    static const DesignRecord design = pushButtonDesign({
        .place = { .name = "bWeb", .left = 286, .top = 126, .width = 109, .height = 20, .tabIndex = 1 },
        .caption = "Visit web site", .isDefault = false,
    });
    return design;
}

const DesignRecord& bMailDesign()
{
    static const DesignRecord design = pushButtonDesign({
        .place = { .name = "bMail", .left = 286, .top = 158, .width = 109, .height = 20, .tabIndex = 2 },
        .caption = "Send a mail", .isDefault = false,
    });
    return design;
}

const DesignRecord& bRtnDesign()
{
    static const DesignRecord design = pushButtonDesign({
        .place = { .name = "bRtn", .left = 286, .top = 190, .width = 109, .height = 20, .tabIndex = 3 },
        .caption = "OK", .isDefault = true,
    });
    return design;
}

const DesignRecord& sTextMailDesign()
{
    static const DesignRecord design = aboutLabelDesign({
        .place = { .name = "sTextMail", .left = 48, .top = 149, .width = 218, .height = 67, .tabIndex = 4 },
        .text = std::string("Any suggestion? \rPlease contact with the author.\rE-mail: ") + kAuthorMailAddress,
        .textAlignment = kAlignCentre, .multiline = true,
    });
    return design;
}

const DesignRecord& sTextIntroDesign()
{
    static const DesignRecord design = aboutLabelDesign({
        .place = { .name = "sTextIntro", .left = 28, .top = 7, .width = 385, .height = 47, .tabIndex = 5 },
        .text = "Flag of Tarnia\rOriginal design by Orvanel  (Feb 21, 1895)\r",
        .textAlignment = kAlignCentre, .multiline = true,
    });
    return design;
}

const DesignRecord& sTextAuthDesign()
{
    static const DesignRecord design = aboutLabelDesign({
        .place = { .name = "sTextAuth", .left = 20, .top = 61, .width = 407, .height = 56, .tabIndex = 6 },
        .text = "This software is written by one who lives in Global Villiage.\rVersion 1.7.0  (Oct 10, 2019)",
        .textAlignment = kAlignCentre, .multiline = true,
    });
    return design;
}
