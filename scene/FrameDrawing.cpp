#include "wFlag.h"

#include "drawing/Graphics.h"
#include "SceneConstants.h"
#include "windows/CheckBox.h"
#include "wPanel.h"

namespace {

constexpr double kLeftOut = Graphics::kLeftOut;
constexpr int kGlorySectors = 6;

} // namespace

void wFlag::DrawFlag()
{
    if (!AstroDuodec)
        AstroSet();
    int64_t groundWidth = cnvGround()->Width();
    int64_t groundHeight = cnvGround()->Height();
    int64_t cantonWidth = cnvSky()->Width();
    int64_t cantonHeight = cnvSky()->Height();
    double cantonCentreX = static_cast<double>(cantonWidth) / 2.0;
    double cantonCentreY = static_cast<double>(cantonHeight) / 2.0;

    AstroDuodec->Rotation(theta);
    AstroDuodec->Scale(static_cast<double>(cantonWidth) / kDesignUnitsPerCanton);
    ArcGlory->Scale(AstroDuodec->Scale() * kGloryScaleFactor);

    Ref<Graphics> flag = picBuffer->Graphics();
    flag->ForeColor(kFieldRed);
    flag->FillRect(0, 0, groundWidth, groundHeight);
    flag->ForeColor(kCantonBlue);
    flag->FillRect(0, 0, cantonWidth, cantonHeight);
    AstroDuodec->FillColor(kSunWhite);
    flag->DrawObject(AstroDuodec, cantonCentreX, cantonCentreY);

    Ref<Graphics> mask = picMask->Graphics();
    if (wPanel()->CheckBoxGlory()->Value()) {
        mask->ForeColor(kGloryShade);
        mask->FillRect(0, 0, groundWidth, groundHeight);
        mask->ForeColor(kGloryClear);
        for (int i = 1; i <= kGlorySectors; ++i) {
            ArcGlory->Rotation((kPi / 12 + theta) + i * (kPi / 3));
            mask->DrawObject(ArcGlory, cantonCentreX, cantonCentreY);
        }
    } else {
        mask->ForeColor(kGloryClear);
        mask->FillRect(0, 0, groundWidth, groundHeight);
    }
    picBuffer->Mask(picMask);

    Ref<Graphics> backBuffer = picBB->Graphics();
    backBuffer->ForeColor(kSunWhite);
    backBuffer->FillRect(0, 0, groundWidth, groundHeight);
    backBuffer->DrawPicture(picBuffer, 0, 0, kLeftOut, kLeftOut, 0, 0, kLeftOut, kLeftOut);
}

void wFlag::cnvGround_Paint(Ref<Canvas>, Ref<Graphics> g, const std::vector<Rect>&)
{
    DrawFlag();
    g->DrawPicture(picBB, 0, 0, kLeftOut, kLeftOut, 0, 0, kLeftOut, kLeftOut);
}
