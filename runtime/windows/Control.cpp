#include "windows/Control.h"

#include "qt/QtSupport.h"

RUNTIME_CLASS_RECORD(Control, "Control", Object,
    property<Control>("Name", &Control::Name),
    property<Control>("Index", &Control::Index))

Control::Control() = default;

Control::~Control() = default;

Ref<Window> Control::Window() const
{
    return m_window.lock();
}

void Control::attachWindow(const Ref<::Window>& window)
{
    m_window = window;
}

bool Control::raisesEvent(int64_t) const
{
    return false;
}

void Control::followWindowResize(int64_t, int64_t) { }

bool Control::takeWindowKey(WindowKey)
{
    return false;
}

void Control::addEventHandler(int64_t eventId, const Ref<Delegate>& delegate)
{
    if (!raisesEvent(eventId))
        throw OutOfBoundsException(classRecord().name + " has no event " + std::to_string(eventId));
    m_handlers[eventId] = delegate;
}

bool Control::handlesEvent(int64_t eventId) const
{
    return m_handlers.contains(eventId);
}

bool Control::raiseEvent(int64_t eventId, EventArguments arguments)
{
    checkUIThread();
    auto found = m_handlers.find(eventId);
    if (found == m_handlers.end())
        return false;
    // The handler may drop the last other reference to this control (by closing its window).
    Ref<Control> keep = self<Control>();
    Ref<Delegate> delegate = found->second;
    arguments.sender = keep;
    return delegate->invoke(arguments);
}

bool Control::deliverEvent(int64_t eventId, EventArguments arguments)
{
    if (!handlesEvent(eventId))
        return false;
    bool result = false;
    deliverSystemEvent([&] { result = raiseEvent(eventId, std::move(arguments)); });
    return result;
}

void RuntimeAddEventHandler(const Ref<Control>& control, int64_t eventId, const Ref<Delegate>& delegate)
{
    if (!delegate)
        throw NilObjectException();
    control->addEventHandler(eventId, delegate);
}
