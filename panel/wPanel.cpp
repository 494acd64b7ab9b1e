#include "wPanel.h"

#include "application/Runtime.h"
#include "ControlBuilding.h"
#include "FlagSong.h"
#include "Menu.h"
#include "PanelDesigns.h"
#include "SceneConstants.h"
#include "wFlag.h"

namespace {

// Ticks of the one-second idle timer after which the panel hides itself: the sixth.
constexpr int64_t kIdleTicksShown = 5;
// The panel places itself at three fifths of the flag's width and height.
constexpr int64_t kPlacementNumerator = 3;
constexpr double kPlacementDenominator = 5.0;

} // namespace

RUNTIME_CLASS_RECORD(wPanel, "wPanel.wPanel", Window)
RUNTIME_CLASS_RECORD(_wrapper_IdleTimer, "wPanel._wrapper_IdleTimer", Timer)

wPanel::wPanel()
{
    bind(WindowEvent::Layout, &wPanel::Layout);
    bind(WindowEvent::CreateControls, &wPanel::CreateControls);
    bind(WindowEvent::MouseEnter, &wPanel::Event_MouseEnter);
    bind(WindowEvent::MouseExit, &wPanel::Event_MouseExit);
    bind(WindowEvent::Activate, &wPanel::Event_Activate);
    bind(WindowEvent::Close, &wPanel::Event_Close);
}

void wPanel::Layout()
{
    RuntimeMassPropertySetter(*this, wPanelDesign());
}

void wPanel::CreateControls()
{
    _CreateControls0();
}

void wPanel::_CreateControls0()
{
    addDesignedControl<Slider>(*this, "SizeSlider", SizeSliderDesign());
    bindControlEvent<Slider, &wPanel::SizeSlider_ValueChanged>(*this, "SizeSlider", kSliderValueChangedEvent, "( Slider )");
    addDesignedControl<Label>(*this, "StaticText1", StaticText1Design());
    addDesignedControl<Slider>(*this, "SpeedSlider", SpeedSliderDesign());
    bindControlEvent<Slider, &wPanel::SpeedSlider_ValueChanged>(*this, "SpeedSlider", kSliderValueChangedEvent, "( Slider )");
    bindControlEvent<Slider, &wPanel::SpeedSlider_Open>(*this, "SpeedSlider", kSliderOpenEvent, "( Slider )");
    addDesignedControl<Label>(*this, "StaticText2", StaticText2Design());
    addDesignedControl<CheckBox>(*this, "CheckBoxM", CheckBoxMDesign());
    bindControlEvent<CheckBox, &wPanel::CheckBoxM_Action>(*this, "CheckBoxM", kActionEvent, "( CheckBox )");
    addDesignedControl<Slider>(*this, "VolumeSlider", VolumeSliderDesign());
    bindControlEvent<Slider, &wPanel::VolumeSlider_ValueChanged>(*this, "VolumeSlider", kSliderValueChangedEvent, "( Slider )");
    addDesignedControl<Label>(*this, "StaticText3", StaticText3Design());
    addDesignedControl<_wrapper_IdleTimer>(*this, "IdleTimer", IdleTimerDesign());
    bindControlEvent<Timer, &wPanel::IdleTimer_Action>(*this, "IdleTimer", kTimerActionEvent, "( Timer )");
    addDesignedControl<CheckBox>(*this, "CheckBoxGlory", CheckBoxGloryDesign());
    addDesignedControl<CheckBox>(*this, "CheckBoxLoop", CheckBoxLoopDesign());
    bindControlEvent<CheckBox, &wPanel::CheckBoxLoop_Action>(*this, "CheckBoxLoop", kActionEvent, "( CheckBox )");
}

Ref<Slider> wPanel::SizeSlider() { return RuntimeCheckCast<Slider>(_ControlByName("SizeSlider")); }
Ref<Label> wPanel::StaticText1() { return RuntimeCheckCast<Label>(_ControlByName("StaticText1")); }
Ref<Slider> wPanel::SpeedSlider() { return RuntimeCheckCast<Slider>(_ControlByName("SpeedSlider")); }
Ref<Label> wPanel::StaticText2() { return RuntimeCheckCast<Label>(_ControlByName("StaticText2")); }
Ref<CheckBox> wPanel::CheckBoxM() { return RuntimeCheckCast<CheckBox>(_ControlByName("CheckBoxM")); }
Ref<Slider> wPanel::VolumeSlider() { return RuntimeCheckCast<Slider>(_ControlByName("VolumeSlider")); }
Ref<Label> wPanel::StaticText3() { return RuntimeCheckCast<Label>(_ControlByName("StaticText3")); }
Ref<Timer> wPanel::IdleTimer() { return RuntimeCheckCast<Timer>(_ControlByName("IdleTimer")); }
Ref<CheckBox> wPanel::CheckBoxGlory() { return RuntimeCheckCast<CheckBox>(_ControlByName("CheckBoxGlory")); }
Ref<CheckBox> wPanel::CheckBoxLoop() { return RuntimeCheckCast<CheckBox>(_ControlByName("CheckBoxLoop")); }

void wPanel::SizeSlider_ValueChanged(Ref<Slider> sender)
{
    Ref<class wFlag> flag = wFlag();
    flag->ChangeSize(sender->Value());
}

void wPanel::SpeedSlider_ValueChanged(Ref<Slider>)
{
    wFlag()->TimerFlag()->Enabled(true);
    wFlag()->TimerFlag()->Mode(kTimerRepeating);
    wFlag()->SetTimerPeriod();
}

void wPanel::SpeedSlider_Open(Ref<Slider> sender)
{
    // Outside the slider's range 1 to 6: the slider keeps 6, and launch sets 4 afterwards.
    sender->Value(80);
}

void wPanel::CheckBoxM_Action(Ref<CheckBox> sender)
{
    if (sender->Value())
        wFlag()->SoundPlay();
    else
        wFlag()->SoundStop();
}

void wPanel::VolumeSlider_ValueChanged(Ref<Slider> sender)
{
    Ref<Sound> song = FlagSong();
    song->Volume(sender->Value());
}

void wPanel::IdleTimer_Action(Ref<Timer>)
{
    duration = duration + 1;
    if (duration > kIdleTicksShown) {
        ::wPanel()->Hide();
        AdjustHidePanel()->Enabled(false);
        AdjustHidePanel()->Visible(false);
        AdjustShowPanel()->Enabled(true);
        AdjustShowPanel()->Visible(true);
    }
}

void wPanel::CheckBoxLoop_Action(Ref<CheckBox> sender)
{
    AdjustLoop()->Checked(sender->Value());
}

void wPanel::StartTimer()
{
    duration = 0;
    IdleTimer()->Enabled(true);
}

void wPanel::StopTimer()
{
    IdleTimer()->Enabled(false);
}

void wPanel::Event_MouseEnter()
{
    StopTimer();
}

void wPanel::Event_MouseExit()
{
    StartTimer();
}

void wPanel::Event_Activate()
{
    Ref<Canvas> ground = wFlag()->cnvGround();
    Left(static_cast<int64_t>(static_cast<double>(kPlacementNumerator * ground->Width()) / kPlacementDenominator));
    Top(static_cast<int64_t>(static_cast<double>(kPlacementNumerator * ground->Height()) / kPlacementDenominator));
}

void wPanel::Event_Close()
{
    Hide();
}

Ref<class wPanel> wPanel()
{
    return openOrMakeWindow<class wPanel>();
}
