// Applies arbitrary design records to a window with a menu bar and to a control of each kind,
// on Qt's offscreen platform. Input: one byte that picks the object, then the property records
// as stored (any keys, any values, any length). A record the reader refuses raises a runtime
// exception, which is what it should do; anything else that goes wrong is a finding.

#include "application/Runtime.h"
#include "menus/MenuItem.h"
#include "object/DesignRecord.h"
#include "object/RuntimeException.h"
#include "windows/Canvas.h"
#include "windows/CheckBox.h"
#include "windows/Label.h"
#include "windows/PushButton.h"
#include "windows/Slider.h"
#include "windows/Timer.h"
#include "windows/Window.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

struct Targets {
    Ref<Window> window;
    std::vector<Ref<Object>> objects;
};

template<typename C>
Ref<Object> addControl(Window& window, const char* name)
{
    Ref<C> control = window.__New<C>();
    if constexpr (requires { control->Constructor(); })
        control->Constructor();
    window._AddControl(name, control);
    return control;
}

Targets& targets()
{
    static Targets* made = [] {
        auto* made = new Targets;
        Ref<MenuBar> bar = makeRef<MenuBar>();
        Ref<MenuItem> menu = makeRef<MenuItem>();
        menu->Name("AdjustMenu");
        menu->Value("Adjust");
        bar->AddMenu(menu);
        made->window = makeRef<Window>();
        made->window->MenuBar(bar);
        made->window->Constructor();
        Window& window = *made->window;
        made->objects = {
            made->window,
            addControl<Canvas>(window, "cnvGround"),
            addControl<Label>(window, "StaticText1"),
            addControl<PushButton>(window, "bRtn"),
            addControl<CheckBox>(window, "CheckBoxM"),
            addControl<Slider>(window, "SizeSlider"),
            addControl<Timer>(window, "IdleTimer"),
        };
        return made;
    }();
    return *made;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    RuntimeInit();
    RuntimePerformInitializers({});
    targets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    Targets& made = targets();
    Object& target = *made.objects[data[0] % made.objects.size()];
    const DesignRecord record = DesignRecord::fromRecords(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    try {
        RuntimeMassPropertySetter(target, record);
    } catch (const RuntimeException&) {
        // A key without a property, a record cut short, a parent that is not there.
    }
    // Lets the posted events of what was set (resizes, repaints) run.
    QCoreApplication::processEvents();
    return 0;
}
