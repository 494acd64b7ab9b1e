#include "wFlag.h"

#include "SceneConstants.h"
#include "windows/Slider.h"
#include "wPanel.h"

#include <cmath>

void wFlag::TimerFlag_Action(Ref<Timer>)
{
    theta = theta + omega;
    // omega stays far below a turn, so one subtraction wraps it.
    if (theta > kOneTurn)
        theta = theta - kOneTurn;
    cnvGround()->Invalidate(false);
}

void wFlag::SetTimerPeriod()
{
    Ref<Timer> timer = ::wFlag()->TimerFlag();
    double q = 180.0 / static_cast<double>(wPanel()->SpeedSlider()->Value());
    double period = std::floor(::wFlag()->ArcRatio * q);
    timer->Period(static_cast<int64_t>(period));
}
