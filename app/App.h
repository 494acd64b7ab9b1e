#pragma once

#include "application/Application.h"

// The application object: its two events and the thirteen menu commands.
class App : public Application {
    RUNTIME_OBJECT(App)
public:
    App();

    void Event_Open();
    void Event_Activate();

    bool _AboutThissoftware_Action();
    bool _AboutVisitWebSite_Action();
    bool _AboutMailtoAuthor_Action();
    bool _AdjustShowPanel_Action();
    bool _AdjustHidePanel_Action();
    bool _AdjustMusicOn_Action();
    bool _AdjustMusicOff_Action();
    bool _AdjustLoop_Action();
    bool _AdjustVolInc_Action();
    bool _AdjustVolDec_Action();
    bool _AdjustStopAnimation_Action();
    bool _AdjustContinueAnimation_Action();
    bool _FileQuit_Action();

    // Does nothing: the object is complete once made.
    void Constructor() { }
};

// The registered application object; none before start-up registers it.
Ref<class App> App();
