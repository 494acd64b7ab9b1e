#pragma once

#include "windows/RectControl.h"

#include <cstdint>

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
