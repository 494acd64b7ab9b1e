#include "wFlag.h"

#include "application/Runtime.h"
#include "ControlBuilding.h"
#include "FlagDesigns.h"
#include "Menu.h"
#include "SceneConstants.h"
#include "wPanel.h"

RUNTIME_CLASS_RECORD(wFlag, "wFlag.wFlag", Window)
RUNTIME_CLASS_RECORD(_wrapper_TimerFlag, "wFlag._wrapper_TimerFlag", Timer)

wFlag::wFlag()
{
    bind(WindowEvent::Layout, &wFlag::Layout);
    bind(WindowEvent::CreateControls, &wFlag::CreateControls);
    bind(WindowEvent::Open, &wFlag::Event_Open);
    bind(WindowEvent::Close, &wFlag::Event_Close);
    bindPaint(&wFlag::Event_Paint);
    bind(WindowEvent::Resizing, &wFlag::Event_Resizing);
    bind(WindowEvent::Resized, &wFlag::Event_Resized);
    bind(WindowEvent::Maximize, &wFlag::Event_Maximize);
}

wFlag::~wFlag() = default;

void wFlag::Layout()
{
    MenuBar(Menu());
    RuntimeMassPropertySetter(*this, wFlagDesign());
}

void wFlag::CreateControls()
{
    _CreateControls0();
}

void wFlag::_CreateControls0()
{
    addDesignedControl<Canvas>(*this, "cnvGround", cnvGroundDesign());
    bindControlEvent<Canvas, &wFlag::cnvGround_Paint>(*this, "cnvGround", kCanvasPaintEvent, "( Canvas, Graphics, Rect() )");
    bindControlEvent<Canvas, &wFlag::cnvGround_MouseDown>(*this, "cnvGround", kCanvasMouseDownEvent, "( Canvas, Integer, Integer ) as Boolean");
    addDesignedControl<Canvas>(*this, "cnvSky", cnvSkyDesign());
    addDesignedControl<_wrapper_TimerFlag>(*this, "TimerFlag", TimerFlagDesign());
    bindControlEvent<Timer, &wFlag::TimerFlag_Action>(*this, "TimerFlag", kTimerActionEvent, "( Timer )");
}

Ref<Canvas> wFlag::cnvGround()
{
    return RuntimeCheckCast<Canvas>(_ControlByName("cnvGround"));
}

Ref<Canvas> wFlag::cnvSky()
{
    return RuntimeCheckCast<Canvas>(_ControlByName("cnvSky"));
}

Ref<Timer> wFlag::TimerFlag()
{
    return RuntimeCheckCast<Timer>(_ControlByName("TimerFlag"));
}

Ref<MenuItem> wFlag::menuItemNamed(const std::string& name)
{
    return MenuBar()->_Lookup(name);
}

Ref<MenuItem> wFlag::AboutMenu() { return menuItemNamed("AboutMenu"); }
Ref<MenuItem> wFlag::AboutMailtoAuthor() { return menuItemNamed("AboutMailtoAuthor"); }
Ref<MenuItem> wFlag::AboutVisitWebSite() { return menuItemNamed("AboutVisitWebSite"); }
Ref<MenuItem> wFlag::AboutThissoftware() { return menuItemNamed("AboutThissoftware"); }
Ref<MenuItem> wFlag::AdjustMenu() { return menuItemNamed("AdjustMenu"); }
Ref<QuitMenuItem> wFlag::FileQuit() { return RuntimeCheckCast<QuitMenuItem>(menuItemNamed("FileQuit")); }
Ref<MenuItem> wFlag::UntitledItem() { return menuItemNamed("UntitledItem"); }
Ref<MenuItem> wFlag::AdjustVolDec() { return menuItemNamed("AdjustVolDec"); }
Ref<MenuItem> wFlag::AdjustVolInc() { return menuItemNamed("AdjustVolInc"); }
Ref<MenuItem> wFlag::AdjustLoop() { return menuItemNamed("AdjustLoop"); }
Ref<MenuItem> wFlag::AdjustMusicOff() { return menuItemNamed("AdjustMusicOff"); }
Ref<MenuItem> wFlag::AdjustMusicOn() { return menuItemNamed("AdjustMusicOn"); }
Ref<MenuItem> wFlag::UntitledSeparator() { return menuItemNamed("UntitledSeparator"); }
Ref<MenuItem> wFlag::AdjustContinueAnimation() { return menuItemNamed("AdjustContinueAnimation"); }
Ref<MenuItem> wFlag::AdjustStopAnimation() { return menuItemNamed("AdjustStopAnimation"); }
Ref<MenuItem> wFlag::AdjustHidePanel() { return menuItemNamed("AdjustHidePanel"); }
Ref<MenuItem> wFlag::AdjustShowPanel() { return menuItemNamed("AdjustShowPanel"); }

void wFlag::Event_Open()
{
    SetTimerPeriod();
    ::wFlag()->Width(wPanel()->SizeSlider()->Value());
    if (!AstroDuodec)
        AstroSet();
    Init();
    wPanel()->Show();
    wPanel()->VolumeSlider()->Value(25);
    SoundPlay();
}

void wFlag::Init()
{
    omega = kOneDegree;
    TimerFlag()->Enabled(true);
    TimerFlag()->Mode(kTimerRepeating);
    SetTimerPeriod();
    cnvSky()->Visible(false);
}

void wFlag::Event_Paint(Ref<Graphics>, const std::vector<Rect>&)
{
    DrawFlag();
}

void wFlag::Event_Close()
{
    Quit(0);
}

Ref<class wFlag> wFlag()
{
    return openOrMakeWindow<class wFlag>();
}
