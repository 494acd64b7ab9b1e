#pragma once

// Internal to the runtime: the controls a window holds, under the names it registered them by,
// in that order.

#include "windows/Control.h"

#include <string>
#include <utility>
#include <vector>

class WindowControls {
public:
    void add(const std::string& name, const Ref<Control>& control);
    // The control registered under that name (without regard to case), or none.
    Ref<Control> byName(const std::string& name) const;
    // The controls as they are now, for going through them while handlers may add more.
    std::vector<Ref<Control>> snapshot() const;
    // Lets go of every control.
    void release();

    // Each control follows a change of the window's content size by (dx, dy).
    void followResize(int64_t dx, int64_t dy);
    // Orders the Tab key's way through the controls that take the focus by their TabIndex.
    void setTabOrder() const;
    // Hands a key the window's focused control had no use for to the controls in turn, until
    // one takes it; true when one did.
    bool takeKey(WindowKey key);

private:
    std::vector<std::pair<std::string, Ref<Control>>> m_controls;
};
