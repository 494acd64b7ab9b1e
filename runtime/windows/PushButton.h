#pragma once

#include "windows/FontControl.h"

#include <cstdint>
#include <string>

// A push button; pressing it raises Action (event id 17).
class PushButton : public FontControl {
    RUNTIME_OBJECT(PushButton)
public:
    PushButton();

    const std::string& Caption() const { return m_caption; }
    void Caption(const std::string& caption);
    // The window's default button: Return and Enter press it.
    bool Default() const { return m_default; }
    void Default(bool isDefault);
    // The window's cancel button: Escape presses it.
    bool Cancel() const { return m_cancel; }
    void Cancel(bool isCancel) { m_cancel = isCancel; }
    // Kept only: this platform draws one kind of push button.
    int64_t MacButtonStyle() const { return m_macButtonStyle; }
    void MacButtonStyle(int64_t style) { m_macButtonStyle = style; }

    // Presses the button as the user would, when it is shown and enabled; true when pressed.
    bool push();
    // Return presses the default button, Escape the cancel button.
    bool takeWindowKey(WindowKey key) override;

protected:
    bool raisesEvent(int64_t eventId) const override;

private:
    std::string m_caption;
    bool m_default = false;
    bool m_cancel = false;
    int64_t m_macButtonStyle = 0;
};
