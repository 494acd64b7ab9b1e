#include "PipelineThreads.h"
#include "sound/Sound.h"
#include "system/FolderItem.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

const std::string kSong = FLAG_RESOURCES_DIR "/FlagSong.mp3";

Ref<Sound> song()
{
    return makeRef<FolderItem>(kSong)->OpenAsSound();
}

// The first second or so of the song, as a file of its own, for playbacks that must end soon.
class ShortClip {
public:
    ShortClip()
    {
        QFile whole(QString::fromStdString(kSong));
        EXPECT_TRUE(whole.open(QIODevice::ReadOnly));
        QFile clip(m_folder.filePath("clip.mp3"));
        EXPECT_TRUE(clip.open(QIODevice::WriteOnly));
        clip.write(whole.read(8000));
    }
    Ref<Sound> sound() const { return makeRef<FolderItem>(m_folder.filePath("clip.mp3").toStdString())->OpenAsSound(); }

private:
    QTemporaryDir m_folder;
};

} // namespace

TEST(Sound, StartsStoppedAtFullVolume)
{
    Ref<Sound> sound = song();
    ASSERT_TRUE(sound);
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_FALSE(sound->isLooping());
    EXPECT_EQ(sound->Volume(), 100);
}

TEST(Sound, PlayLoopAndStopSetItsState)
{
    Ref<Sound> sound = song();
    ASSERT_TRUE(sound);
    const struct {
        const char* step;
        void (Sound::*call)();
        bool playing;
        bool looping;
    } steps[] = {
        { "Play", &Sound::Play, true, false },
        { "Play again", &Sound::Play, true, false },
        { "PlayLooping while playing", &Sound::PlayLooping, true, true },
        { "Stop", &Sound::Stop, false, false },
        { "Stop again", &Sound::Stop, false, false },
        { "PlayLooping", &Sound::PlayLooping, true, true },
        { "Play while looping", &Sound::Play, true, false },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        ((*sound).*step.call)();
        EXPECT_EQ(sound->IsPlaying(), step.playing);
        EXPECT_EQ(sound->isLooping(), step.looping);
    }
    sound->Stop();
}

TEST(Sound, VolumeIsClampedAndReachesAPlayingSound)
{
    Ref<Sound> sound = song();
    ASSERT_TRUE(sound);
    const struct {
        int64_t set;
        int64_t read;
    } cases[] = { { -5, 0 }, { 0, 0 }, { 25, 25 }, { 100, 100 }, { 250, 100 } };
    for (const auto& row : cases) {
        sound->Volume(row.set);
        EXPECT_EQ(sound->Volume(), row.read) << "set " << row.set;
    }

    sound->Play();
    EXPECT_DOUBLE_EQ(sound->outputVolume(), 1.0);
    sound->Volume(0);
    EXPECT_DOUBLE_EQ(sound->outputVolume(), 0.0);
    sound->Volume(50);
    EXPECT_GT(sound->outputVolume(), 0.0);
    EXPECT_LT(sound->outputVolume(), 1.0);
    sound->Stop();
}

TEST(Sound, SongPlayedOnceStopsAtItsEndAndLeavesTheRest)
{
    ShortClip clip;
    Ref<Sound> sound = clip.sound();
    ASSERT_TRUE(sound);
    sound->Volume(30);
    sound->Play();
    EXPECT_TRUE(test::waitUntil([&] { return !sound->IsPlaying(); }, 15000));
    EXPECT_EQ(sound->Volume(), 30);
    EXPECT_FALSE(sound->isLooping());
}

TEST(Sound, LoopingSongKeepsPlayingPastItsEnd)
{
    ShortClip clip;
    Ref<Sound> sound = clip.sound();
    ASSERT_TRUE(sound);
    sound->PlayLooping();
    // The clip lasts about a second: three seconds cover two ends.
    EXPECT_FALSE(test::waitUntil([&] { return !sound->IsPlaying(); }, 3000));
    EXPECT_TRUE(sound->isLooping());
    sound->Stop();
}

// Releasing the players at exit ends the pipeline whatever it is doing at that moment.
TEST(Sound, ReleasingThePlayersEndsThePipelineAtAnyMoment)
{
    ShortClip clip;
    const struct {
        const char* moment;
        std::function<void(Sound&)> arrange;
    } moments[] = {
        { "just after Play", [](Sound& sound) { sound.Play(); } },
        { "while it looks at the data", [](Sound& sound) {
             sound.Play();
             EXPECT_TRUE(test::waitUntil(test::pipelineRuns, 10000));
         } },
        { "while it decodes", [](Sound& sound) {
             sound.PlayLooping();
             EXPECT_TRUE(test::waitUntil(test::decodingMp3, 10000));
         } },
        { "started again while it loads", [](Sound& sound) {
             sound.Play();
             sound.PlayLooping();
         } },
        { "stopped", [](Sound& sound) {
             sound.Play();
             EXPECT_TRUE(test::waitUntil(test::decodingMp3, 10000));
             sound.Stop();
         } },
        { "started again after a stop", [](Sound& sound) {
             sound.Play();
             EXPECT_TRUE(test::waitUntil(test::decodingMp3, 10000));
             sound.Stop();
             sound.Play();
         } },
        { "played once to its end", [](Sound& sound) {
             sound.Play();
             EXPECT_TRUE(test::waitUntil([&] { return !sound.IsPlaying(); }, 15000));
         } },
    };
    for (const auto& row : moments) {
        SCOPED_TRACE(row.moment);
        Ref<Sound> sound = clip.sound();
        ASSERT_TRUE(sound);
        row.arrange(*sound);
        Sound::releasePlayers();
        EXPECT_TRUE(test::waitUntil([] { return !test::pipelineRuns(); }, 10000));
    }
}
