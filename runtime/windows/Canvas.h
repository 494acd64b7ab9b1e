#pragma once

#include "windows/Delegate.h"
#include "windows/RectControl.h"

#include <cstdint>
#include <vector>

class Graphics;

// A surface the application draws on. Events: Paint (id 30), with a Graphics for this paint
// and the areas to draw; MouseDown (id 27), with the press position in canvas coordinates,
// whose handler's true claims the press (false lets it through to what lies beneath).
class Canvas : public RectControl {
    RUNTIME_OBJECT(Canvas)
public:
    Canvas();
    ~Canvas() override;

    // The canvas takes keyboard focus when clicked or tabbed to.
    bool AllowFocus() const { return m_allowFocus; }
    void AllowFocus(bool allow);
    // The Tab key stays in the canvas instead of moving the focus on.
    bool AllowTabs() const { return m_allowTabs; }
    void AllowTabs(bool allow) { m_allowTabs = allow; }
    // Kept only: Qt draws the focus frame, if any, by its style.
    bool AllowFocusRing() const { return m_allowFocusRing; }
    void AllowFocusRing(bool allow) { m_allowFocusRing = allow; }
    // Kept only: Qt always paints through a back buffer.
    bool DoubleBuffer() const { return m_doubleBuffer; }
    void DoubleBuffer(bool doubleBuffer) { m_doubleBuffer = doubleBuffer; }

protected:
    bool raisesEvent(int64_t eventId) const override;
    // Draws the next frame before the window repaints, so only what it changes is repainted.
    void repaintWidget() override;

private:
    bool m_allowFocus = false;
    bool m_allowTabs = false;
    bool m_allowFocusRing = true;
    bool m_doubleBuffer = false;
};

// A delegate for a canvas's MouseDown handler: sender, x, y; its Boolean comes back.
template<typename W>
    requires std::derived_from<W, Object>
Ref<Delegate> RuntimeCreateDelegate(bool (W::*method)(Ref<Canvas>, int64_t, int64_t), const Ref<Object>& target,
                                    const std::string& signature, int64_t flag, std::string handler = {})
{
    delegate_detail::checkTarget<W>(target);
    return makeRef<Delegate>(target, [method](Object& window, const EventArguments& arguments) {
        return (static_cast<W&>(window).*method)(RuntimeCheckCast<Canvas>(arguments.sender), arguments.x, arguments.y);
    }, signature, flag, std::move(handler));
}

// A delegate for a canvas's Paint handler: sender, drawing surface, areas to draw.
template<typename W>
    requires std::derived_from<W, Object>
Ref<Delegate> RuntimeCreateDelegate(void (W::*method)(Ref<Canvas>, Ref<Graphics>, const std::vector<Rect>&),
                                    const Ref<Object>& target, const std::string& signature, int64_t flag, std::string handler = {})
{
    delegate_detail::checkTarget<W>(target);
    return makeRef<Delegate>(target, [method](Object& window, const EventArguments& arguments) {
        static const std::vector<Rect> noAreas;
        (static_cast<W&>(window).*method)(RuntimeCheckCast<Canvas>(arguments.sender), arguments.graphics,
                                          arguments.areas ? *arguments.areas : noAreas);
        return false;
    }, signature, flag, std::move(handler));
}
