#pragma once

#include "windows/Label.h"
#include "windows/PushButton.h"
#include "windows/Window.h"

// The about window: the flag's credits, the version and the maker's links.
class wAbout : public Window {
    RUNTIME_OBJECT(wAbout)
public:
    wAbout();

    void Layout();
    void CreateControls();
    void _CreateControls0();

    Ref<Label> sTextURL();
    Ref<PushButton> bWeb();
    Ref<PushButton> bMail();
    Ref<PushButton> bRtn();
    Ref<Label> sTextMail();
    Ref<Label> sTextIntro();
    Ref<Label> sTextAuth();

    void bWeb_Action(Ref<PushButton> sender);
    void bMail_Action(Ref<PushButton> sender);
    void bRtn_Action(Ref<PushButton> sender);
};

// The about window, made anew from its design whenever none is open.
Ref<class wAbout> wAbout();
