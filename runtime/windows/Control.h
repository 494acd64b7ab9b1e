#pragma once

#include "object/Object.h"
#include "windows/Delegate.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class Window;

// The keys a window hands to its controls.
enum class WindowKey { Return, Escape };

// Base of everything a window holds as a control, visual or not (a timer).
class Control : public Object {
    RUNTIME_OBJECT(Control)
public:
    Control();
    ~Control() override;

    // The name under which the window registers and finds the control.
    const std::string& Name() const { return m_name; }
    void Name(const std::string& name) { m_name = name; }
    // The index within a control array; the smallest 32-bit integer for a control standing alone.
    int64_t Index() const { return m_index; }
    void Index(int64_t index) { m_index = index; }

    // The window the control belongs to; none once that window is gone.
    Ref<::Window> Window() const;

    // Binds `delegate` to the event `eventId` of this control, replacing an earlier binding.
    // Throws OutOfBoundsException for an id that this kind of control does not raise.
    void addEventHandler(int64_t eventId, const Ref<Delegate>& delegate);
    // True when a handler is bound to `eventId`.
    bool handlesEvent(int64_t eventId) const;

    // Raises an event from code: the bound handler runs at once and its exception reaches the
    // caller. Returns the handler's Boolean result; false when nothing is bound.
    bool raiseEvent(int64_t eventId, EventArguments arguments = {});
    // Raises an event that came from the window system, through RuntimeDeliver. Returns the
    // handler's result; false when nothing is bound or the handler threw.
    bool deliverEvent(int64_t eventId, EventArguments arguments = {});

    // The window that allocated or registered the control (Window.__New, Window._AddControl).
    void attachWindow(const Ref<::Window>& window);
    // Raised by Window.Constructor once all the window's controls exist.
    virtual void raiseOpen() { }

    // What a window asks of each of its controls, whatever their kind; a control that has no
    // part in it does nothing.
    // Puts the control into its window once the window has registered it.
    virtual void placeInWindow() { }
    // Follows a change of the window's content size by (dx, dy).
    virtual void followWindowResize(int64_t dx, int64_t dy);
    // The control's place in its window's keyboard-focus order: its TabIndex and the widget that
    // takes the focus; none for a control that takes no focus.
    struct FocusPlace {
        int64_t tabIndex;
        QWidget* widget;
    };
    virtual std::optional<FocusPlace> focusPlace() const { return std::nullopt; }
    // Takes a key the window's focused control had no use for, as a push button takes Return when
    // it is the default button; true when the control took it.
    virtual bool takeWindowKey(WindowKey key);

protected:
    // The event ids this kind of control raises.
    virtual bool raisesEvent(int64_t eventId) const;

private:
    std::string m_name;
    int64_t m_index = -2147483648LL;
    WeakRef<::Window> m_window;
    std::map<int64_t, Ref<Delegate>> m_handlers;
};

// Binds `delegate` to the event `eventId` of `control`; later raises of that event call it.
void RuntimeAddEventHandler(const Ref<Control>& control, int64_t eventId, const Ref<Delegate>& delegate);
