#pragma once

#include "sound/Sound.h"

// The flag song, loaded from the bundle's resources on the first call and kept for the
// process's life; empty when loading failed, and never tried again.
Ref<Sound> FlagSong();

namespace FlagSongStorage {

// Set by the first call of FlagSong, before it tries to load.
extern bool loaded;
// What the first load gave: the song, or nothing.
extern Ref<Sound> permaSound;

} // namespace FlagSongStorage
