#pragma once

#include "menus/MenuItem.h"

// The application's one menu bar, with the menus "Adjust" and "About".
class Menu : public MenuBar {
    RUNTIME_OBJECT(Menu)
public:
    // Builds the item tree: "Adjust", then "About".
    void Constructor();
    void Untitled0();
    void Untitled1();

    // The one bar; empty until the first call of Menu() has built it.
    static Ref<class Menu> _implicitInstance;
};

// The one menu bar, built in full on the first call.
Ref<class Menu> Menu();

// The items the application's handlers find by name in the application's menu bar.
Ref<MenuItem> AdjustShowPanel();
Ref<MenuItem> AdjustHidePanel();
Ref<MenuItem> AdjustStopAnimation();
Ref<MenuItem> AdjustContinueAnimation();
Ref<MenuItem> AdjustMusicOn();
Ref<MenuItem> AdjustLoop();
Ref<MenuItem> AdjustVolInc();
Ref<MenuItem> AdjustVolDec();
