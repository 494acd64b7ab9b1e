#pragma once

#include "drawing/Graphics.h"
#include "object/DesignRecord.h"
#include "windows/Canvas.h"
#include "windows/CheckBox.h"
#include "windows/Delegate.h"
#include "windows/Label.h"
#include "windows/PushButton.h"
#include "windows/Slider.h"
#include "windows/Timer.h"
#include "windows/Window.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <string>
#include <vector>

// A window that handles every window event and every control event by recording it, and
// runs a test's hook where one is set. It binds no Close handler; ClosingSpyWindow does.
class SpyWindow : public Window {
    RUNTIME_OBJECT(SpyWindow)
public:
    SpyWindow();

    void Layout();
    void CreateControls();
    void Event_Open();
    void Event_Activate();
    void Event_Resizing();
    void Event_Resized();
    void Event_Maximize();
    void Event_MouseEnter();
    void Event_MouseExit();
    void Event_Paint(Ref<Graphics> g, const std::vector<Rect>& areas);

    void Slider_Open(Ref<Slider> sender);
    void Slider_ValueChanged(Ref<Slider> sender);
    void PushButton_Action(Ref<PushButton> sender);
    void CheckBox_Action(Ref<CheckBox> sender);
    void Timer_Action(Ref<Timer> sender);
    bool Canvas_MouseDown(Ref<Canvas> sender, int64_t x, int64_t y);
    void Canvas_Paint(Ref<Canvas> sender, Ref<Graphics> g, const std::vector<Rect>& areas);

    // Makes a control of class C as a window's building code does, and binds `events` of it
    // to this window's recording handlers.
    template<typename C>
    void addControl(const std::string& name, const DesignRecord& design, std::vector<int64_t> events = {});

    // How many recorded events are exactly `event`.
    int count(const std::string& event) const;

    // Every event handled, in order: "Open", "Resized", "ValueChanged Speed 6", ...
    std::vector<std::string> events;
    // The window's own paints are recorded only when asked for: they come at any time.
    bool recordWindowPaints = false;
    // Run inside the handler of that name, when set.
    std::function<void(SpyWindow&)> onLayout;
    std::function<void(SpyWindow&)> onCreateControls;
    std::function<void(SpyWindow&)> onOpen;
    std::function<void(SpyWindow&)> onMaximize;
    std::function<void(SpyWindow&, Ref<Slider>)> onValueChanged;
    std::function<bool(Ref<Canvas>, int64_t, int64_t)> onMouseDown;
    std::function<void(Ref<Canvas>, Ref<Graphics>, const std::vector<Rect>&)> onPaint;
};

// A SpyWindow whose class also handles the close box.
class ClosingSpyWindow : public SpyWindow {
    RUNTIME_OBJECT(ClosingSpyWindow)
public:
    ClosingSpyWindow();
    void Event_Close();
};

template<typename C>
void SpyWindow::addControl(const std::string& name, const DesignRecord& design, std::vector<int64_t> eventIds)
{
    {
        Ref<C> control = __New<C>();
        if constexpr (requires { control->Constructor(); })
            control->Constructor();
        _AddControl(name, control);
    }
    RuntimeMassPropertySetter(*RuntimeCheckCast<C>(_ControlByName(name)), design);
    Ref<SpyWindow> target = self<SpyWindow>();
    for (int64_t id : eventIds) {
        Ref<Control> control = _ControlByName(name);
        Ref<Delegate> delegate;
        if (id == kSliderOpenEvent)
            delegate = RuntimeCreateDelegate(&SpyWindow::Slider_Open, target, "( Slider )", 1);
        else if (id == kSliderValueChangedEvent)
            delegate = RuntimeCreateDelegate(&SpyWindow::Slider_ValueChanged, target, "( Slider )", 1);
        else if (id == kActionEvent && dynamic_cast<PushButton*>(control.raw()))
            delegate = RuntimeCreateDelegate(&SpyWindow::PushButton_Action, target, "( PushButton )", 1);
        else if (id == kActionEvent)
            delegate = RuntimeCreateDelegate(&SpyWindow::CheckBox_Action, target, "( CheckBox )", 1);
        else if (id == kTimerActionEvent)
            delegate = RuntimeCreateDelegate(&SpyWindow::Timer_Action, target, "( Timer )", 1);
        else if (id == kCanvasMouseDownEvent)
            delegate = RuntimeCreateDelegate(&SpyWindow::Canvas_MouseDown, target, "( Canvas, Integer, Integer ) as Boolean", 1);
        else if (id == kCanvasPaintEvent)
            delegate = RuntimeCreateDelegate(&SpyWindow::Canvas_Paint, target, "( Canvas, Graphics, Rect() )", 1);
        RuntimeAddEventHandler(control, id, delegate);
    }
}

// Runs the event loop until `condition` holds; false once `deadlineMs` has passed.
inline bool runUntil(const std::function<bool()>& condition, int deadlineMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > deadlineMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Runs the event loop for `milliseconds`: for checking that something does NOT happen.
inline void runFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A window design with the given size and kind, every other key at a document window's value.
DesignRecord spyWindowDesign(int64_t width, int64_t height, int64_t type = 0, bool resizeable = true, bool liveResize = true);
