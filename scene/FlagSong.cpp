#include "FlagSong.h"

#include "system/FolderItem.h"
#include "wFlag.h"
#include "windows/CheckBox.h"
#include "windows/Slider.h"
#include "wPanel.h"

namespace FlagSongStorage {

bool loaded = false;
Ref<Sound> permaSound;

} // namespace FlagSongStorage

Ref<Sound> FlagSong()
{
    using namespace FlagSongStorage;
    if (loaded)
        return permaSound;
    loaded = true;
    Ref<FolderItem> resources = GetBundleResourcesFolder();
    if (!resources)
        return permaSound;
    permaSound = resources->Child("FlagSong.mp3")->OpenAsSound();
    return permaSound;
}

void wFlag::SoundPlay()
{
    FlagSong()->Volume(wPanel()->VolumeSlider()->Value());
    if (wPanel()->CheckBoxLoop()->Value())
        FlagSong()->PlayLooping();
    else
        FlagSong()->Play();
    AdjustMusicOn()->Enabled(false);
    AdjustMusicOff()->Enabled(true);
    AdjustMusicOn()->Visible(false);
    AdjustMusicOff()->Visible(true);
    wPanel()->CheckBoxM()->Value(true);
}

void wFlag::SoundStop()
{
    FlagSong()->Stop();
    AdjustMusicOff()->Enabled(false);
    AdjustMusicOn()->Enabled(true);
    AdjustMusicOff()->Visible(false);
    AdjustMusicOn()->Visible(true);
    wPanel()->CheckBoxM()->Value(false);
}
