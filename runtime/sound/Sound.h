#pragma once

// Sound: a song held in memory, played through Qt Multimedia (QMediaPlayer and QAudioOutput).
//
// Qt 6.4 on Linux plays through GStreamer unless QT_MEDIA_BACKEND names another backend; we leave
// that choice to Qt. Without a sound server (headless test machines) GStreamer's automatic sink
// falls back to one that keeps time without a device: playback runs in real time, ends and loops
// as with a device and crashes nothing; it warns twice ("Failed to connect") each time a sound
// builds its pipeline. The FFmpeg backend, a preview in 6.4, stalls there instead, which is a
// reason not to pick it. Playing, looping and the volume are the sound's own state, so
// they read the same with or without a device.
//
// A pipeline stays with the output it was built for, so every start (Play, PlayLooping or a
// loop's next round) builds a new one: a sound server that comes up or comes back while the
// application runs is reached from the next start.

#include "object/Object.h"

#include <cstdint>
#include <memory>
#include <string>

class QByteArray;

class Sound : public Object {
    RUNTIME_OBJECT(Sound)
public:
    // A sound with nothing to play: its state changes as for any other, in silence.
    Sound();
    // Runtime side: a sound that plays `mp3` (the bytes of the file named `name`).
    Sound(const QByteArray& mp3, const std::string& name);
    ~Sound() override;

    // Runtime side: a sound for `bytes` when they hold MPEG audio layer III (after an optional
    // ID3v2 tag, several valid frame headers in a row); otherwise an empty reference.
    static Ref<Sound> fromMp3(const QByteArray& bytes, const std::string& name);

    // Loudness from 0 (silent) to 100 (full); values outside are clamped. Applies at once,
    // also while playing.
    int64_t Volume() const { return m_volume; }
    void Volume(int64_t volume);

    // Plays the sound once from its beginning; a sound already playing starts over.
    void Play();
    // Plays the sound from its beginning over and over until Stop.
    void PlayLooping();
    // Stops playing.
    void Stop();

    // True from Play or PlayLooping until Stop, or until a sound played once reaches its end.
    bool IsPlaying() const { return m_playing; }
    // True while the sound plays in a loop.
    bool isLooping() const { return m_playing && m_looping; }

    // Runtime side: the volume handed to the audio output (0 to 1), or -1 before the first play.
    double outputVolume() const;
    // Runtime side: ends every sound's playback machinery, for the process to end. Called while
    // Qt is alive: a media pipeline left running at exit goes on loading plugins on its own
    // threads while the libraries it uses are being finalised.
    static void releasePlayers();

private:
    struct Player;
    void start(bool looping);
    void build();
    void outputFailed();
    void reachedEnd();

    std::unique_ptr<Player> m_player;
    std::string m_name;
    int64_t m_volume = 100;
    bool m_playing = false;
    bool m_looping = false;
};
