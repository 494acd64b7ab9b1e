#pragma once

#include "windows/Control.h"

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

// A control with a place on its window: position, size, focus order, visibility.
class RectControl : public Control {
    RUNTIME_OBJECT(RectControl)
public:
    RectControl();
    ~RectControl() override;

    // Makes the control's widget when its class has not made one already.
    void Constructor();

    // The Name of the control that contains this one; empty for a control placed in the window.
    // Once the control is registered, setting it moves the control into that control.
    const std::string& InitialParent() const { return m_initialParent; }
    void InitialParent(const std::string& name);

    // Position in pixels, counted from the containing control (from the window's content for a
    // control placed directly in the window).
    int64_t Left() const { return m_left; }
    void Left(int64_t left);
    int64_t Top() const { return m_top; }
    void Top(int64_t top);
    // Size in pixels; a negative size is taken as 0.
    int64_t Width() const { return m_width; }
    void Width(int64_t width);
    int64_t Height() const { return m_height; }
    void Height(int64_t height);

    // Edges that keep their distance from the window's edges when the window is resized
    // (for a control placed directly in the window).
    bool LockLeft() const { return m_lockLeft; }
    void LockLeft(bool lock) { m_lockLeft = lock; }
    bool LockTop() const { return m_lockTop; }
    void LockTop(bool lock) { m_lockTop = lock; }
    bool LockRight() const { return m_lockRight; }
    void LockRight(bool lock) { m_lockRight = lock; }
    bool LockBottom() const { return m_lockBottom; }
    void LockBottom(bool lock) { m_lockBottom = lock; }

    // The control's place in its window's keyboard-focus order.
    int64_t TabIndex() const { return m_tabIndex; }
    void TabIndex(int64_t index) { m_tabIndex = index; }
    // The control takes part in the Tab key's focus order.
    bool TabStop() const { return m_tabStop; }
    void TabStop(bool tabStop);
    // The page of a tab panel the control lies on; kept only.
    int64_t TabPanelIndex() const { return m_tabPanelIndex; }
    void TabPanelIndex(int64_t index) { m_tabPanelIndex = index; }

    bool Enabled() const { return m_enabled; }
    void Enabled(bool enabled);
    bool Visible() const { return m_visible; }
    void Visible(bool visible);
    // The control draws no background of its own.
    bool Transparent() const { return m_transparent; }
    void Transparent(bool transparent);
    // Help text shown when the pointer rests on the control.
    const std::string& Tooltip() const { return m_tooltip; }
    void Tooltip(const std::string& text);
    // Kept only: this platform has no per-control deactivation look.
    bool AllowAutoDeactivate() const { return m_allowAutoDeactivate; }
    void AllowAutoDeactivate(bool allow) { m_allowAutoDeactivate = allow; }

    // Schedules a repaint of the control.
    void Invalidate(bool eraseBackground = true);

    // The control's Qt widget; none once its window's widgets are gone.
    QWidget* widget() const;
    // Puts the widget into its window: into the InitialParent control, or into the content.
    // Throws when InitialParent names no visual control of the window.
    void placeInWindow() override;
    // Follows a change of the window's content size by (dx, dy) as the Lock edges say.
    void followWindowResize(int64_t dx, int64_t dy) override;
    // The widget, in TabIndex order, when it takes the keyboard focus.
    std::optional<FocusPlace> focusPlace() const override;

protected:
    // Asks the window system to repaint the control's widget (Invalidate).
    virtual void repaintWidget();
    // Takes on the widget that a subclass made in its constructor.
    void setWidget(QWidget* widget);
    // The widget Constructor makes when the class made none: a plain widget.
    virtual QWidget* createWidget();
    // Called after the position or size changed.
    virtual void geometryChanged() { }
    // Sets the Tab-key part of the widget's focus policy from TabStop.
    void applyTabStop();

private:
    void applyGeometry();
    void applyVisibility();

    std::string m_initialParent;
    int64_t m_left = 0;
    int64_t m_top = 0;
    int64_t m_width = 100;
    int64_t m_height = 100;
    bool m_lockLeft = false;
    bool m_lockTop = false;
    bool m_lockRight = false;
    bool m_lockBottom = false;
    int64_t m_tabIndex = 0;
    bool m_tabStop = true;
    int64_t m_tabPanelIndex = 0;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_transparent = false;
    std::string m_tooltip;
    bool m_allowAutoDeactivate = true;
    bool m_placed = false;
    struct QtParts;
    std::unique_ptr<QtParts> m_qt;
};
