#include "App.h"

#include "application/Runtime.h"
#include "FlagSong.h"
#include "Links.h"
#include "Menu.h"
#include "system/Screen.h"
#include "system/ShowURL.h"
#include "wAbout.h"
#include "wFlag.h"
#include "wPanel.h"

#include <string>

namespace {

constexpr int64_t kSizeSliderScreenMargin = 20;
constexpr int64_t kLaunchSpeed = 4;
constexpr int64_t kVolumeStep = 10;
constexpr int64_t kVolumeMinimum = 0;
constexpr int64_t kVolumeMaximum = 100;

const std::string& menuMailLink()
{
    static const std::string link = std::string("mailto:") + kAuthorMailAddress + "?subject=suggestion on Corvala web site";
    return link;
}

} // namespace

RUNTIME_CLASS_RECORD(App, "App", Application)

App::App()
{
    bind(ApplicationEvent::Open, &App::Event_Open);
    bind(ApplicationEvent::Activate, &App::Event_Activate);
}

void App::Event_Open()
{
    int64_t screenWidth = Screen(0)->Width();
    wPanel()->SizeSlider()->MaximumValue(screenWidth - kSizeSliderScreenMargin);
    wPanel()->SpeedSlider()->Value(kLaunchSpeed);
    AdjustMusicOn()->Visible(false);
    AdjustHidePanel()->Visible(false);
    AdjustStopAnimation()->Visible(false);
    AdjustContinueAnimation()->Visible(false);
    AdjustLoop()->Visible(true);
    AdjustLoop()->Checked(wPanel()->CheckBoxLoop()->Value());
}

void App::Event_Activate()
{
    wPanel()->Hide();
}

bool App::_AboutThissoftware_Action()
{
    wAbout()->Show();
    return false;
}

bool App::_AboutVisitWebSite_Action()
{
    ShowURL(kMakerWebAddress);
    return false;
}

bool App::_AboutMailtoAuthor_Action()
{
    ShowURL(menuMailLink());
    return false;
}

bool App::_AdjustShowPanel_Action()
{
    wPanel()->Show();
    AdjustHidePanel()->Enabled(true);
    AdjustHidePanel()->Visible(true);
    AdjustShowPanel()->Enabled(false);
    AdjustShowPanel()->Visible(false);
    wPanel()->StartTimer();
    return false;
}

bool App::_AdjustHidePanel_Action()
{
    wPanel()->Hide();
    AdjustHidePanel()->Enabled(false);
    AdjustHidePanel()->Visible(false);
    AdjustShowPanel()->Enabled(true);
    AdjustShowPanel()->Visible(true);
    return false;
}

bool App::_AdjustMusicOn_Action()
{
    wFlag()->SoundPlay();
    return false;
}

bool App::_AdjustMusicOff_Action()
{
    wFlag()->SoundStop();
    return false;
}

bool App::_AdjustLoop_Action()
{
    AdjustLoop()->Checked(!AdjustLoop()->Checked());
    wPanel()->CheckBoxLoop()->Value(AdjustLoop()->Checked());
    return false;
}

bool App::_AdjustVolInc_Action()
{
    int64_t v = wPanel()->VolumeSlider()->Value() + kVolumeStep;
    if (v >= kVolumeMaximum) {
        v = kVolumeMaximum;
        AdjustVolInc()->Visible(false);
    }
    wPanel()->VolumeSlider()->Value(v);
    FlagSong()->Volume(v);
    AdjustVolDec()->Visible(true);
    return false;
}

bool App::_AdjustVolDec_Action()
{
    int64_t v = wPanel()->VolumeSlider()->Value() - kVolumeStep;
    if (v <= kVolumeMinimum) {
        v = kVolumeMinimum;
        AdjustVolDec()->Visible(false);
    }
    wPanel()->VolumeSlider()->Value(v);
    FlagSong()->Volume(v);
    AdjustVolInc()->Visible(true);
    return false;
}

bool App::_AdjustStopAnimation_Action()
{
    wFlag()->TimerFlag()->Enabled(false);
    wFlag()->theta = 0.0;
    wFlag()->DrawFlag();
    return false;
}

bool App::_AdjustContinueAnimation_Action()
{
    wFlag()->TimerFlag()->Enabled(true);
    return false;
}

bool App::_FileQuit_Action()
{
    Quit(0);
    return false;
}

Ref<class App> App()
{
    return RuntimeCheckCast<class App>(getAppObject());
}
