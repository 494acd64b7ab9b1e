#include "wFlag.h"

#include "windows/CheckBox.h"
#include "wPanel.h"

namespace {

// The panel keeps its top-left corner this far from the screen's left and top edges.
constexpr int64_t kPanelMinimumOffset = 10;

} // namespace

bool wFlag::cnvGround_MouseDown(Ref<Canvas>, int64_t x, int64_t y)
{
    Ref<CheckBox> glory = wPanel()->CheckBoxGlory();
    glory->Value(!glory->Value());
    if (x < cnvSky()->Width()) {
        if (y < cnvSky()->Height())
            ShowPanel(x, y);
    }
    return false;
}

void wFlag::ShowPanel(int64_t x, int64_t y)
{
    int64_t left = 0;
    int64_t top = 0;
    if (0 < x + y) {
        left = static_cast<int64_t>(static_cast<double>(x) - static_cast<double>(wPanel()->Width()) / 2.0);
        top = static_cast<int64_t>(static_cast<double>(y) - static_cast<double>(wPanel()->Height()) / 2.0);
    }
    if (left < kPanelMinimumOffset)
        left = kPanelMinimumOffset;
    if (top < kPanelMinimumOffset)
        top = kPanelMinimumOffset;
    wPanel()->Left(left);
    wPanel()->Top(top);
    wPanel()->Show();
    wPanel()->StartTimer();
    AdjustHidePanel()->Enabled(true);
    AdjustHidePanel()->Visible(true);
    AdjustShowPanel()->Enabled(false);
    AdjustShowPanel()->Visible(false);
}
