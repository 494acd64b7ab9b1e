#include "wFlag.h"

#include "SceneConstants.h"
#include "system/Screen.h"
#include "windows/Slider.h"
#include "wPanel.h"

#include <cmath>

namespace {

constexpr int64_t kWidthStep = 30;
constexpr int64_t kMinimumWidth = 60;
// Room the window leaves below itself on the main screen.
constexpr int64_t kScreenMargin = 50;

int64_t truncated(double value)
{
    return static_cast<int64_t>(value);
}

int64_t snappedToStep(int64_t width)
{
    return truncated(static_cast<double>(kWidthStep) * std::floor(static_cast<double>(width) / static_cast<double>(kWidthStep)));
}

} // namespace

void wFlag::ChangeSize(int64_t newWidth)
{
    int64_t w = snappedToStep(newWidth);
    if (w < kMinimumWidth)
        w = kMinimumWidth;

    if (!JustMaxSize) {
        Width(w);
        int64_t h = truncated(static_cast<double>(Width() * 2) / 3.0);
        if (Screen(0)->Height() - kScreenMargin < h)
            h = Screen(0)->Height() - kScreenMargin;
        Height(h);
    }

    Ref<Canvas> ground = cnvGround();
    Ref<Canvas> canton = cnvSky();
    ground->Width(snappedToStep(Width()));
    ground->Height(truncated(static_cast<double>(ground->Width() * 2) / 3.0));
    canton->Width(truncated(static_cast<double>(ground->Width()) / 2.0));
    canton->Height(truncated(static_cast<double>(ground->Height()) / 2.0));
    ground->Left(truncated(static_cast<double>(Width() - ground->Width()) / 2.0));
    ground->Top(0);
    canton->Left(ground->Left());
    canton->Top(ground->Top());
    wPanel()->SizeSlider()->Value(ground->Width());

    ArcRatio = (720.0 / static_cast<double>(ground->Width())) * 1.5;
    omega = kOneDegree * ArcRatio;
    SetTimerPeriod();
    TimerFlag()->Enabled(true);
    TimerFlag()->Mode(kTimerRepeating);
    DrawFlag();
}

void wFlag::Event_Resizing()
{
    ChangeSize(::wFlag()->Width());
}

void wFlag::Event_Resized()
{
    if (JustMaxSize) {
        JustMaxSize = false;
        return;
    }
    ChangeSize(::wFlag()->Width());
}

void wFlag::Event_Maximize()
{
    JustMaxSize = true;
    ChangeSize(::wFlag()->Width());
}
