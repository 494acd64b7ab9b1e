#include "WindowSpy.h"

#include <algorithm>

RUNTIME_CLASS_RECORD(SpyWindow, "SpyWindow", Window)
RUNTIME_CLASS_RECORD(ClosingSpyWindow, "ClosingSpyWindow", SpyWindow)

SpyWindow::SpyWindow()
{
    bind(WindowEvent::Layout, &SpyWindow::Layout);
    bind(WindowEvent::CreateControls, &SpyWindow::CreateControls);
    bind(WindowEvent::Open, &SpyWindow::Event_Open);
    bind(WindowEvent::Activate, &SpyWindow::Event_Activate);
    bind(WindowEvent::Resizing, &SpyWindow::Event_Resizing);
    bind(WindowEvent::Resized, &SpyWindow::Event_Resized);
    bind(WindowEvent::Maximize, &SpyWindow::Event_Maximize);
    bind(WindowEvent::MouseEnter, &SpyWindow::Event_MouseEnter);
    bind(WindowEvent::MouseExit, &SpyWindow::Event_MouseExit);
    bindPaint(&SpyWindow::Event_Paint);
}

void SpyWindow::Layout()
{
    events.push_back("Layout");
    if (onLayout)
        onLayout(*this);
}

void SpyWindow::CreateControls()
{
    events.push_back("CreateControls");
    if (onCreateControls)
        onCreateControls(*this);
}

void SpyWindow::Event_Open()
{
    events.push_back("Open");
    if (onOpen)
        onOpen(*this);
}

void SpyWindow::Event_Activate() { events.push_back("Activate"); }
void SpyWindow::Event_Resizing() { events.push_back("Resizing"); }
void SpyWindow::Event_Resized() { events.push_back("Resized"); }
void SpyWindow::Event_MouseEnter() { events.push_back("MouseEnter"); }
void SpyWindow::Event_MouseExit() { events.push_back("MouseExit"); }

void SpyWindow::Event_Paint(Ref<Graphics> g, const std::vector<Rect>&)
{
    if (recordWindowPaints)
        events.push_back(g ? "Paint window" : "Paint window without a surface");
}

void SpyWindow::Event_Maximize()
{
    events.push_back("Maximize");
    if (onMaximize)
        onMaximize(*this);
}

void SpyWindow::Slider_Open(Ref<Slider> sender)
{
    events.push_back("Open " + sender->Name());
}

void SpyWindow::Slider_ValueChanged(Ref<Slider> sender)
{
    events.push_back("ValueChanged " + sender->Name() + " " + std::to_string(sender->Value()));
    if (onValueChanged)
        onValueChanged(*this, sender);
}

void SpyWindow::PushButton_Action(Ref<PushButton> sender)
{
    events.push_back("Action " + sender->Name());
}

void SpyWindow::CheckBox_Action(Ref<CheckBox> sender)
{
    events.push_back("Action " + sender->Name() + " " + std::to_string(sender->VisualState()));
}

void SpyWindow::Timer_Action(Ref<Timer> sender)
{
    events.push_back("Action " + sender->Name());
}

bool SpyWindow::Canvas_MouseDown(Ref<Canvas> sender, int64_t x, int64_t y)
{
    events.push_back("MouseDown " + sender->Name() + " " + std::to_string(x) + "," + std::to_string(y));
    return onMouseDown ? onMouseDown(sender, x, y) : false;
}

void SpyWindow::Canvas_Paint(Ref<Canvas> sender, Ref<Graphics> g, const std::vector<Rect>& areas)
{
    events.push_back("Paint " + sender->Name());
    if (onPaint)
        onPaint(sender, g, areas);
}

int SpyWindow::count(const std::string& event) const
{
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

ClosingSpyWindow::ClosingSpyWindow()
{
    bind(WindowEvent::Close, &ClosingSpyWindow::Event_Close);
}

void ClosingSpyWindow::Event_Close()
{
    events.push_back("Close");
}

DesignRecord spyWindowDesign(int64_t width, int64_t height, int64_t type, bool resizeable, bool liveResize)
{
    return DesignRecord({
        { "Width", width },
        { "Height", height },
        { "MinimumWidth", 180 },
        { "MinimumHeight", 120 },
        { "MaximumWidth", 6000 },
        { "MaximumHeight", 4000 },
        { "Type", type },
        { "Title", "Spy" },
        { "HasCloseButton", true },
        { "HasMaximizeButton", true },
        { "HasMinimizeButton", true },
        { "HasFullScreenButton", false },
        { "Resizeable", resizeable },
        { "Composite", false },
        { "MacProcID", 0 },
        { "FullScreen", false },
        { "DefaultLocation", 0 },
        { "Visible", true },
        { "HasBackgroundColor", false },
        { "BackgroundColor", Color { 0xFFFFFF } },
        { "MenuBarVisible", true },
        { "LiveResize", liveResize },
    });
}
