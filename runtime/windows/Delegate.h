#pragma once

#include "object/Object.h"
#include "windows/Rect.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

class Control;
class Graphics;

// Event ids by which handlers are bound to control events.
inline constexpr int64_t kTimerActionEvent = 0;
inline constexpr int64_t kSliderOpenEvent = 3;
// PushButton and CheckBox.
inline constexpr int64_t kActionEvent = 17;
inline constexpr int64_t kSliderValueChangedEvent = 22;
inline constexpr int64_t kCanvasMouseDownEvent = 27;
inline constexpr int64_t kCanvasPaintEvent = 30;

// What a control hands to the handler of one of its events: itself and the event's arguments.
struct EventArguments {
    Ref<Control> sender;
    // MouseDown: the press position in the control's coordinates.
    int64_t x = 0;
    int64_t y = 0;
    // Paint: the surface to draw on and the areas that need drawing.
    Ref<Graphics> graphics;
    const std::vector<Rect>* areas = nullptr;
};

// A handler method bound to its target window. The target is held weakly: the window owns
// its controls, which own their delegates.
class Delegate : public Object {
    RUNTIME_OBJECT(Delegate)
public:
    // Calls the handler on the target with an event's arguments; returns the handler's result.
    using Invoker = std::function<bool(Object& target, const EventArguments& arguments)>;

    Delegate();
    // `handler` names the handler method for the unhandled-exception report.
    Delegate(const Ref<Object>& target, Invoker invoker, std::string signature, int64_t flag, std::string handler = {});

    // Calls the handler and returns its Boolean result (false for handlers without one).
    // Throws NilObjectException when the target is gone.
    bool invoke(const EventArguments& arguments) const;

    // The handler's signature text, as given when the delegate was made.
    const std::string& signature() const { return m_signature; }
    int64_t flag() const { return m_flag; }
    // The handler's name ("wPanel::VolumeSlider_ValueChanged"), empty when none was given.
    const std::string& handler() const { return m_handler; }

private:
    WeakRef<Object> m_target;
    Invoker m_invoker;
    std::string m_signature;
    int64_t m_flag = 0;
    std::string m_handler;
};

// The qualified name of the method `Method` ("wPanel::VolumeSlider_ValueChanged"), taken from
// the compiler's name for this function, so it holds in every build.
template<auto Method>
std::string RuntimeMethodName()
{
    const std::string_view function = std::source_location::current().function_name();
    const std::string_view marker = "Method = &";
    const size_t start = function.find(marker);
    if (start == std::string_view::npos)
        return {};
    const std::string_view rest = function.substr(start + marker.size());
    return std::string(rest.substr(0, rest.find_first_of(";]")));
}

namespace delegate_detail {

// The target as the class whose method the delegate calls; the check is made once, on creation.
template<typename W>
void checkTarget(const Ref<Object>& target)
{
    if (!dynamic_cast<W*>(&target.get()))
        throw IllegalCastException(target->classRecord().name + " cannot handle this event");
}

} // namespace delegate_detail

// A delegate for a handler that takes the sending control: Timer, Slider, PushButton, CheckBox.
template<typename W, typename S>
    requires std::derived_from<W, Object> && std::derived_from<S, Control>
Ref<Delegate> RuntimeCreateDelegate(void (W::*method)(Ref<S>), const Ref<Object>& target,
                                    const std::string& signature, int64_t flag, std::string handler = {})
{
    delegate_detail::checkTarget<W>(target);
    return makeRef<Delegate>(target, [method](Object& window, const EventArguments& arguments) {
        (static_cast<W&>(window).*method)(RuntimeCheckCast<S>(arguments.sender));
        return false;
    }, signature, flag, std::move(handler));
}
