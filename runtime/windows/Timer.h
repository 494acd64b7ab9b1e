#pragma once

#include "windows/Control.h"

#include <cstdint>

class QTimer;

// A timer on a window: raises Action (event id 0) every Period while it runs, which is while
// it is enabled, its mode is not off and its period is positive. A window class may derive
// its own timer class from it.
class Timer : public Control {
    RUNTIME_OBJECT(Timer)
public:
    Timer();
    ~Timer() override;

    // Milliseconds between two Action events; 0 or less never fires. A new period on a running
    // timer takes effect from its next tick.
    int64_t Period() const { return m_period; }
    void Period(int64_t milliseconds);
    // 0 off, 1 single (one Action, then the mode is 0), 2 repeating. RunMode is the same.
    int64_t Mode() const { return m_mode; }
    void Mode(int64_t mode);
    int64_t RunMode() const { return m_mode; }
    void RunMode(int64_t mode) { Mode(mode); }
    // Enabling a running timer keeps its rhythm; enabling a stopped one starts a fresh interval.
    bool Enabled() const { return m_enabled; }
    void Enabled(bool enabled);
    // Starts a fresh interval now, when the timer runs.
    void Reset();

    static constexpr int64_t kOff = 0;
    static constexpr int64_t kSingle = 1;
    static constexpr int64_t kRepeating = 2;

protected:
    bool raisesEvent(int64_t eventId) const override;

private:
    bool runs() const;
    // Starts or stops the Qt timer as the properties say; a running one keeps its rhythm
    // unless `freshInterval`.
    void update(bool freshInterval);
    void tick();

    int64_t m_period = 1000;
    int64_t m_mode = kOff;
    bool m_enabled = true;
    QTimer* m_timer;
};
