#pragma once

#include "windows/FontControl.h"

#include <cstdint>
#include <string>

// A check box. Action (event id 17) is raised when the user ticks or clears it, and when a
// value set from code changes it.
class CheckBox : public FontControl {
    RUNTIME_OBJECT(CheckBox)
public:
    CheckBox();

    const std::string& Caption() const { return m_caption; }
    void Caption(const std::string& caption);
    // The box is ticked.
    bool Value() const { return m_visualState == kTicked; }
    void Value(bool ticked);
    // 0 clear, 1 ticked, 2 mixed; kept in step with Value.
    int64_t VisualState() const { return m_visualState; }
    void VisualState(int64_t state);

    static constexpr int64_t kClear = 0;
    static constexpr int64_t kTicked = 1;
    static constexpr int64_t kMixed = 2;

protected:
    bool raisesEvent(int64_t eventId) const override;

private:
    void showState();
    void userChangedState(int qtState);

    std::string m_caption;
    int64_t m_visualState = kClear;
};
