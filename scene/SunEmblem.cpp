#include "wFlag.h"

#include "drawing/FigureShape.h"
#include "drawing/OvalShape.h"
#include "SceneConstants.h"
#include "system/Screen.h"

#include <array>
#include <cmath>

namespace {

constexpr int64_t kOuterRadius = 600;
constexpr int64_t kMiddleRadius = 340;
constexpr int64_t kInnerRadius = 300;
constexpr int64_t kStarVertices = 24;
constexpr int64_t kGlorySectorDiameter = 300;
constexpr int64_t kPictureDepth = 32;

void makeDisc(OvalShape& disc, Color color, int64_t radius)
{
    disc.FillColor(color);
    disc.X(0);
    disc.Y(0);
    disc.Width(static_cast<double>(2 * radius));
    disc.Height(static_cast<double>(2 * radius));
}

Ref<Picture> screenSizedPicture()
{
    int64_t width = Screen(0)->Width();
    int64_t height = Screen(0)->Height();
    return Picture::Constructor(width, height, kPictureDepth);
}

} // namespace

void wFlag::AstroSet()
{
    AstroDuodec = makeRef<Group2D>();
    Ref<OvalShape> outerDisc = makeRef<OvalShape>();
    Ref<OvalShape> middleDisc = makeRef<OvalShape>();
    Ref<OvalShape> innerDisc = makeRef<OvalShape>();
    Ref<FigureShape> star = makeRef<FigureShape>();
    // x of vertex i at 2i + 1, y at 2i + 2; position 0 stays empty.
    std::array<int64_t, 2 * (kStarVertices + 1) + 1> vertices {};

    makeDisc(*outerDisc, kCantonBlue, kOuterRadius);
    makeDisc(*middleDisc, kCantonBlue, kMiddleRadius);
    makeDisc(*innerDisc, kSunWhite, kInnerRadius);
    star->FillColor(kSunWhite);
    star->X(0);
    star->Y(0);
    star->BorderWidth(0);
    star->BorderColor(kSunWhite);

    for (int64_t i = 0; i <= kStarVertices; ++i) {
        int64_t r = i % 2 == 0 ? kOuterRadius : kInnerRadius;
        double a = static_cast<double>(i * 15) * kPi / 180.0;
        vertices[2 * i + 1] = static_cast<int64_t>(static_cast<double>(r) * std::cos(a));
        vertices[2 * i + 2] = static_cast<int64_t>(static_cast<double>(r) * std::sin(a));
    }
    for (int64_t j = 0; j < kStarVertices; ++j) {
        star->AddLine(static_cast<float>(vertices[2 * j + 1]), static_cast<float>(vertices[2 * j + 2]),
                      static_cast<float>(vertices[2 * j + 3]), static_cast<float>(vertices[2 * j + 4]));
    }

    AstroDuodec->X(0);
    AstroDuodec->Y(0);
    AstroDuodec->Append(outerDisc);
    AstroDuodec->Append(star);
    AstroDuodec->Append(middleDisc);
    AstroDuodec->Append(innerDisc);

    ArcGlory = makeRef<ArcShape>();
    ArcGlory->Width(kGlorySectorDiameter);
    ArcGlory->Height(kGlorySectorDiameter);
    ArcGlory->StartAngle(0);
    ArcGlory->ArcAngle(kPi / 6);
    ArcGlory->FillColor(kGloryClear);

    picBuffer = screenSizedPicture();
    picMask = screenSizedPicture();
    picBB = screenSizedPicture();
}
