#pragma once

#include "object/Object.h"
#include "windows/Control.h"
#include "windows/Rect.h"
#include "windows/WindowList.h"

#include <array>
#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class Graphics;
class MenuBar;
class QWidget;

// The events of a window itself; a window class binds those it handles.
enum class WindowEvent { Layout, CreateControls, Open, Close, Activate, Paint, Resizing, Resized, Maximize, MouseEnter, MouseExit };

// A top-level window and the controls on it. Width and Height are the content's size; a menu
// bar, where the window has one, sits above the content.
class Window : public Object {
    RUNTIME_OBJECT(Window)
public:
    Window();
    ~Window() override;

    // Binds the handler of a window event (a method of the window's class W, called on this
    // window); a class binds the events it handles in its constructor.
    template<typename W>
        requires std::derived_from<W, Window>
    void bind(WindowEvent event, void (W::*handler)())
    {
        m_handlers[index(event)] = [this, handler] { (static_cast<W*>(this)->*handler)(); };
    }
    // Binds the Paint handler: it gets the surface of the window's content and the areas to draw.
    template<typename W>
        requires std::derived_from<W, Window>
    void bindPaint(void (W::*handler)(Ref<Graphics>, const std::vector<Rect>&))
    {
        m_paintHandler = [this, handler](Ref<Graphics> g, const std::vector<Rect>& areas) {
            (static_cast<W*>(this)->*handler)(std::move(g), areas);
        };
        m_handlers[index(WindowEvent::Paint)] = [] { };
    }
    // True when the window's class binds `event`.
    bool handles(WindowEvent event) const;

    // Builds the window: holds it as open, raises Layout, CreateControls, the controls' Open
    // events and the window's Open, then shows it when its design says Visible. An exception from
    // Layout or CreateControls drops the window from the open windows and passes on to the
    // caller; one from an Open handler is reported, and the window stays open.
    void Constructor();

    // Content size in pixels, kept within the minimum and maximum. A change from code takes
    // effect at once and posts one Resized event, delivered after the running handler returns.
    int64_t Width() const { return m_width; }
    void Width(int64_t width);
    int64_t Height() const { return m_height; }
    void Height(int64_t height);
    // Bounds of the content size, for the user and for code.
    int64_t MinimumWidth() const { return m_minimumWidth; }
    void MinimumWidth(int64_t width);
    int64_t MinimumHeight() const { return m_minimumHeight; }
    void MinimumHeight(int64_t height);
    int64_t MaximumWidth() const { return m_maximumWidth; }
    void MaximumWidth(int64_t width);
    int64_t MaximumHeight() const { return m_maximumHeight; }
    void MaximumHeight(int64_t height);

    // Screen position of the window frame's top-left corner.
    int64_t Left() const;
    void Left(int64_t left);
    int64_t Top() const;
    void Top(int64_t top);

    // Kind of window: 0 document; 1, 2, 8 dialog-like (2 modal); 3 floating (above the main
    // window, out of the task bar, shown without being activated); 4 to 6 frameless; 7 floating
    // above every application.
    int64_t Type() const { return m_type; }
    void Type(int64_t type);
    const std::string& Title() const { return m_title; }
    void Title(const std::string& title);
    // The title-bar buttons the window offers.
    bool HasCloseButton() const { return m_hasCloseButton; }
    void HasCloseButton(bool has);
    bool HasMaximizeButton() const { return m_hasMaximizeButton; }
    void HasMaximizeButton(bool has);
    bool HasMinimizeButton() const { return m_hasMinimizeButton; }
    void HasMinimizeButton(bool has);
    bool HasFullScreenButton() const { return m_hasFullScreenButton; }
    void HasFullScreenButton(bool has);
    // False: the user cannot change the window's size.
    bool Resizeable() const { return m_resizeable; }
    void Resizeable(bool resizeable);
    // True: Resizing events come while the user drags the window's edge.
    bool LiveResize() const { return m_liveResize; }
    void LiveResize(bool live) { m_liveResize = live; }
    // Where the window is first shown: centred on the main screen, unless Left or Top was set.
    int64_t DefaultLocation() const { return m_defaultLocation; }
    void DefaultLocation(int64_t location) { m_defaultLocation = location; }
    // Before the window is built: whether it shows once built. Afterwards: shows or hides it.
    bool Visible() const;
    void Visible(bool visible);
    // A background colour of the window's own, used only while HasBackgroundColor is true.
    bool HasBackgroundColor() const { return m_hasBackgroundColor; }
    void HasBackgroundColor(bool has);
    ::Color BackgroundColor() const { return m_backgroundColor; }
    void BackgroundColor(::Color color);
    // The window fills the screen, without a frame.
    bool FullScreen() const { return m_fullScreen; }
    void FullScreen(bool fullScreen);
    // Kept only: they have no meaning on this platform.
    bool Composite() const { return m_composite; }
    void Composite(bool composite) { m_composite = composite; }
    int64_t MacProcId() const { return m_macProcId; }
    void MacProcId(int64_t id) { m_macProcId = id; }
    // False hides the window's menu bar.
    bool MenuBarVisible() const { return m_menuBarVisible; }
    void MenuBarVisible(bool visible);

    // Shows the window and brings it to the front; a document window also becomes active.
    void Show();
    // Hides the window; it keeps its controls and values.
    void Hide();
    // Closes and discards the window without a Close event: hidden, no longer open, its
    // controls released; the window object goes once nothing else holds it.
    void Close();

    // The menu bar shown above the content; none for a window without one.
    Ref<::MenuBar> MenuBar() const { return m_menuBar; }
    void MenuBar(const Ref<::MenuBar>& bar);

    // Allocates a control of class C on behalf of this window.
    template<typename C>
        requires std::derived_from<C, Control>
    Ref<C> __New()
    {
        Ref<C> control = makeRef<C>();
        control->attachWindow(self<Window>());
        return control;
    }
    // Registers `control` under `name`; the window holds it from now on. A visual control's
    // widget goes into the window's content.
    void _AddControl(const std::string& name, const Ref<Control>& control);
    // The registered control of that name (without regard to case), or none.
    Ref<Control> _ControlByName(const std::string& name) const;

    // The window's Qt widget (a QMainWindow) and the widget its controls sit in.
    QWidget* qtWidget() const;
    QWidget* contentWidget() const;
    // True once the window is closed (Close, or its close box without a Close handler).
    bool closed() const { return m_closed; }
    // True for a floating window (Type 3 or 7): above the main window, shown without activation.
    bool isFloating() const;

    // Sizes a design gives are the window's start: they post no Resized event.
    void designWillApply() override { m_applyingDesign = true; }
    void designDidApply() override { m_applyingDesign = false; }

private:
    static constexpr size_t index(WindowEvent event) { return static_cast<size_t>(event); }
    // Runs a bound handler from code; its exception reaches the caller.
    void raise(WindowEvent event);
    // Runs a bound handler for a window-system event, through RuntimeDeliver.
    void deliver(WindowEvent event);
    void deliverPaint(Ref<Graphics> graphics, const std::vector<Rect>& areas);

    void discard();
    void applyWindowFlags();
    void applySize();
    void applySizeLimits();
    void applyBackground();
    void postResized();
    void contentResized(int64_t oldWidth, int64_t oldHeight);

    // Qt reports: the window's size changed (by the user or the window system, not by code).
    void qtResized();
    void userResizeEnded();
    void qtActivated();
    bool qtClosing();
    bool qtKeyPressed(WindowKey key);

    std::array<std::function<void()>, 11> m_handlers;
    std::function<void(Ref<Graphics>, const std::vector<Rect>&)> m_paintHandler;
    Ref<::MenuBar> m_menuBar;

    int64_t m_width = 600;
    int64_t m_height = 400;
    int64_t m_minimumWidth = 64;
    int64_t m_minimumHeight = 64;
    int64_t m_maximumWidth = 32000;
    int64_t m_maximumHeight = 32000;
    int64_t m_type = 0;
    std::string m_title;
    bool m_hasCloseButton = true;
    bool m_hasMaximizeButton = true;
    bool m_hasMinimizeButton = true;
    bool m_hasFullScreenButton = false;
    bool m_resizeable = true;
    bool m_liveResize = true;
    int64_t m_defaultLocation = 0;
    bool m_visible = true;
    bool m_hasBackgroundColor = false;
    ::Color m_backgroundColor { 0xFFFFFF };
    bool m_fullScreen = false;
    bool m_composite = false;
    int64_t m_macProcId = 0;
    bool m_menuBarVisible = true;

    bool m_constructing = false;
    bool m_constructed = false;
    bool m_closed = false;
    bool m_applyingDesign = false;
    bool m_placed = false;
    bool m_resizedPosted = false;
    bool m_maximizeReported = false;
    struct QtParts;
    std::unique_ptr<QtParts> m_qt;
};
