#pragma once

#include "application/Runtime.h"
#include "object/DesignRecord.h"
#include "windows/Delegate.h"
#include "windows/Window.h"

#include <string>

// Makes one control of a window from its design: allocates it through the window, constructs
// it, registers it under its name, then fetches it back by name and applies its design.
template<typename C>
void addDesignedControl(Window& window, const std::string& name, const DesignRecord& design)
{
    {
        Ref<C> control = window.__New<C>();
        if constexpr (requires { control->Constructor(); })
            control->Constructor();
        window._AddControl(name, control);
    }
    RuntimeMassPropertySetter(*RuntimeCheckCast<C>(window._ControlByName(name)), design);
}

// Binds the handler method `Handler` of `window` to event `eventId` of its control `name`.
template<typename C, auto Handler, typename W>
void bindControlEvent(W& window, const std::string& name, int64_t eventId, const char* signature)
{
    Ref<C> control = RuntimeCheckCast<C>(window._ControlByName(name));
    RuntimeAddEventHandler(control, eventId,
                           RuntimeCreateDelegate(Handler, window.template self<W>(), signature, 1, RuntimeMethodName<Handler>()));
}

// The open window of class W, or a new one made from its design.
template<typename W>
Ref<W> openOrMakeWindow()
{
    const ClassRecord& record = W::staticClassRecord();
    if (Ref<Window> open = RuntimeGetImplicitWindow(record.name))
        return RuntimeCheckCast<W>(open);
    Ref<W> window = RuntimeCheckCast<W>(RuntimeNewObject(record));
    window->Constructor();
    return window;
}
