#pragma once

#include "windows/CheckBox.h"
#include "windows/Label.h"
#include "windows/Slider.h"
#include "windows/Timer.h"
#include "windows/Window.h"

// The floating control panel; its controls hold the application's settings.
class wPanel : public Window {
    RUNTIME_OBJECT(wPanel)
public:
    wPanel();

    void Layout();
    void CreateControls();
    void _CreateControls0();

    Ref<Slider> SizeSlider();
    Ref<Label> StaticText1();
    Ref<Slider> SpeedSlider();
    Ref<Label> StaticText2();
    Ref<CheckBox> CheckBoxM();
    Ref<Slider> VolumeSlider();
    Ref<Label> StaticText3();
    Ref<Timer> IdleTimer();
    Ref<CheckBox> CheckBoxGlory();
    Ref<CheckBox> CheckBoxLoop();

    void SizeSlider_ValueChanged(Ref<Slider> sender);
    void SpeedSlider_ValueChanged(Ref<Slider> sender);
    void SpeedSlider_Open(Ref<Slider> sender);
    void CheckBoxM_Action(Ref<CheckBox> sender);
    void VolumeSlider_ValueChanged(Ref<Slider> sender);
    void IdleTimer_Action(Ref<Timer> sender);
    void CheckBoxLoop_Action(Ref<CheckBox> sender);

    void Event_MouseEnter();
    void Event_MouseExit();
    void Event_Activate();
    void Event_Close();

    // Restarts the idle count and lets the idle timer run.
    void StartTimer();
    // Suspends the idle count.
    void StopTimer();

    // Idle-timer ticks since creation or the last StartTimer.
    int64_t duration = 0;
};

// The idle timer's class: a Timer that knows its window (weakly, as every control does).
class _wrapper_IdleTimer : public Timer {
    RUNTIME_OBJECT(_wrapper_IdleTimer)
};

// The one control panel, made from its design on the first call.
Ref<class wPanel> wPanel();
