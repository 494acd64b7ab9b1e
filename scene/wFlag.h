#pragma once

#include "drawing/ArcShape.h"
#include "drawing/Graphics.h"
#include "drawing/Group2D.h"
#include "drawing/Picture.h"
#include "menus/MenuItem.h"
#include "windows/Canvas.h"
#include "windows/Timer.h"
#include "windows/Window.h"

#include <vector>

// The main window: the flag, its turning sun and the song's controls.
class wFlag : public Window {
    RUNTIME_OBJECT(wFlag)
public:
    wFlag();
    ~wFlag() override;

    void Layout();
    void CreateControls();
    void _CreateControls0();

    Ref<Canvas> cnvGround();
    Ref<Canvas> cnvSky();
    Ref<Timer> TimerFlag();

    void cnvGround_Paint(Ref<Canvas> sender, Ref<Graphics> g, const std::vector<Rect>& areas);
    bool cnvGround_MouseDown(Ref<Canvas> sender, int64_t x, int64_t y);
    void TimerFlag_Action(Ref<Timer> sender);

    // The window's own view of the shared menu bar's items, found by name on every call.
    Ref<MenuItem> AboutMenu();
    Ref<MenuItem> AboutMailtoAuthor();
    Ref<MenuItem> AboutVisitWebSite();
    Ref<MenuItem> AboutThissoftware();
    Ref<MenuItem> AdjustMenu();
    Ref<QuitMenuItem> FileQuit();
    Ref<MenuItem> UntitledItem();
    Ref<MenuItem> AdjustVolDec();
    Ref<MenuItem> AdjustVolInc();
    Ref<MenuItem> AdjustLoop();
    Ref<MenuItem> AdjustMusicOff();
    Ref<MenuItem> AdjustMusicOn();
    Ref<MenuItem> UntitledSeparator();
    Ref<MenuItem> AdjustContinueAnimation();
    Ref<MenuItem> AdjustStopAnimation();
    Ref<MenuItem> AdjustHidePanel();
    Ref<MenuItem> AdjustShowPanel();

    void Event_Resizing();
    void Event_Resized();
    void Event_Paint(Ref<Graphics> g, const std::vector<Rect>& areas);
    void Event_Close();
    void Event_Open();
    void Event_Maximize();

    // Starts the animation state.
    void Init();
    // Renders one frame into picBB.
    void DrawFlag();
    // Snaps the window to newWidth and lays out the flag in it.
    void ChangeSize(int64_t newWidth);
    // Builds the emblem, the glory sector and the pictures.
    void AstroSet();
    // Sets TimerFlag's period from the step and the speed setting.
    void SetTimerPeriod();
    void SoundPlay();
    void SoundStop();
    // Shows the panel centred on a press at (x, y).
    void ShowPanel(int64_t x, int64_t y);

    // The sun's rotation angle, radians.
    double theta = 0.0;
    // Rotation step per tick, radians.
    double omega = 0.0;
    // Rotation step per tick, degrees, from the flag width.
    double ArcRatio = 0.0;
    // A maximize is being handled: the next Resized event is skipped.
    bool JustMaxSize = false;

    Ref<Group2D> AstroDuodec;
    Ref<ArcShape> ArcGlory;
    Ref<Picture> picBuffer;
    Ref<Picture> picMask;
    Ref<Picture> picBB;

private:
    Ref<MenuItem> menuItemNamed(const std::string& name);
};

// The animation timer's class: a Timer that knows its window (weakly, as every control does).
class _wrapper_TimerFlag : public Timer {
    RUNTIME_OBJECT(_wrapper_TimerFlag)
};

// The one flag window, made from its design on the first call.
Ref<class wFlag> wFlag();
