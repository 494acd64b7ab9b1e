#pragma once

#include "windows/RectControl.h"

#include <cstdint>

// A slider over an integer range. Events: Open (id 3), raised once by Window.Constructor after
// all the window's controls exist; ValueChanged (id 22) when the value changes.
class Slider : public RectControl {
    RUNTIME_OBJECT(Slider)
public:
    Slider();

    // The range. A bound set past the other one moves that one too; a value left outside the
    // range moves into it (raising ValueChanged).
    int64_t MinimumValue() const { return m_minimumValue; }
    void MinimumValue(int64_t value);
    int64_t MaximumValue() const { return m_maximumValue; }
    void MaximumValue(int64_t value);
    // The value, kept inside the range (80 on a 1 to 6 slider gives 6). While a design record
    // is applied, the record's value stands until the record's range has been applied too.
    int64_t Value() const { return m_value; }
    void Value(int64_t value);
    // The step of the arrow keys and of a click in the track.
    int64_t LineStep() const { return m_lineStep; }
    void LineStep(int64_t step);
    int64_t PageStep() const { return m_pageStep; }
    void PageStep(int64_t step);
    // True: ValueChanged while the thumb is dragged; false: only when it is let go.
    bool AllowLiveScrolling() const { return m_allowLiveScrolling; }
    void AllowLiveScrolling(bool live);
    // 0 no tick marks, 1 below or right, 2 above or left, 3 both.
    int64_t TickMarkStyle() const { return m_tickMarkStyle; }
    void TickMarkStyle(int64_t style);

    // Around a design record: the value is kept as given, then brought into the range.
    void designWillApply() override;
    void designDidApply() override;
    // Raises Open (id 3).
    void raiseOpen() override;

protected:
    bool raisesEvent(int64_t eventId) const override;
    void geometryChanged() override;

private:
    // Brings the value into the range; raises ValueChanged when that moved it.
    void keepValueInRange();
    void showValues();
    void userMoved(int value);

    int64_t m_minimumValue = 0;
    int64_t m_maximumValue = 100;
    int64_t m_value = 0;
    int64_t m_lineStep = 1;
    int64_t m_pageStep = 20;
    bool m_allowLiveScrolling = true;
    int64_t m_tickMarkStyle = 0;
    bool m_applyingDesign = false;
};
