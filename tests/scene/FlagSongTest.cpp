#include "FlagTestSupport.h"

#include "FlagSong.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

// The unhandled-exception reports written to standard error while `action` runs.
int reportsDuring(const std::function<void()>& action)
{
    testing::internal::CaptureStderr();
    action();
    std::istringstream lines(testing::internal::GetCapturedStderr());
    int reports = 0;
    for (std::string line; std::getline(lines, line);)
        reports += line.rfind("Unhandled", 0) == 0;
    return reports;
}

// The file is read once, at launch: with it gone the song still comes back and still plays.
TEST(FlagSong, TheSongIsLoadedOnceAndItsFileOpenedOnce)
{
    test::TemporaryBundle bundle(test::TemporaryBundle::Resources::Song);
    test::launchApplication(bundle.executable());
    Ref<Sound> song = FlagSong();
    ASSERT_TRUE(song);
    EXPECT_TRUE(song->IsPlaying());

    ASSERT_TRUE(QFile::remove(bundle.songPath()));
    EXPECT_EQ(FlagSong(), song);
    int reports = reportsDuring([] {
        EXPECT_TRUE(test::chooseMenuItem("AdjustMusicOff"));
        EXPECT_TRUE(test::chooseMenuItem("AdjustMusicOn"));
    });
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(FlagSong(), song);
    EXPECT_TRUE(song->IsPlaying());
}

// What the song, the two menu items and the Music box show.
void expectMusic(bool playing, bool looping, const std::string& what)
{
    Ref<Sound> song = FlagSong();
    EXPECT_EQ(song->IsPlaying(), playing) << what;
    EXPECT_EQ(song->isLooping(), looping) << what;
    EXPECT_EQ(wPanel()->CheckBoxM()->Value(), playing) << what;
    EXPECT_EQ(test::offered("AdjustMusicOff"), playing) << what;
    EXPECT_EQ(test::withdrawn("AdjustMusicOn"), playing) << what;
    EXPECT_EQ(test::offered("AdjustMusicOn"), !playing) << what;
    EXPECT_EQ(test::withdrawn("AdjustMusicOff"), !playing) << what;
    EXPECT_EQ(song->Volume(), 25) << what;
}

void expectLoopSetting(bool loop, const std::string& what)
{
    EXPECT_EQ(wPanel()->CheckBoxLoop()->Value(), loop) << what;
    EXPECT_EQ(test::menuAction("AdjustLoop")->isChecked(), loop) << what;
}

// Stopping a playing song costs about a second on a machine without a sound server, so each
// of these tests stops it once.
TEST(FlagSong, MusicOffAndOnSwitchTheSongTheItemsAndTheMusicBox)
{
    test::launchApplication();
    ASSERT_TRUE(test::chooseMenuItem("AdjustMusicOff"));
    expectMusic(false, false, "Music Off");
    wFlag()->SoundStop();
    expectMusic(false, false, "stopped again while stopped");
    test::click(wPanel()->CheckBoxLoop());
    expectMusic(false, false, "Loop box ticked while stopped");
    expectLoopSetting(true, "Loop box ticked while stopped");
    ASSERT_TRUE(test::chooseMenuItem("AdjustMusicOn"));
    expectMusic(true, true, "Music On with the Loop box ticked");
    wFlag()->SoundPlay();
    expectMusic(true, true, "started again while playing");
}

TEST(FlagSong, TheMusicBoxStopsAndStartsTheSong)
{
    test::launchApplication();
    Ref<CheckBox> music = wPanel()->CheckBoxM();
    test::click(music);
    expectMusic(false, false, "Music box cleared");
    test::click(wPanel()->CheckBoxLoop());
    test::click(music);
    expectMusic(true, true, "Music box ticked with the Loop box ticked");
}

// A change of the Loop box leaves the playing song alone and shows at the next start.
TEST(FlagSong, TheLoopBoxSetsTheLoopItemAndWaitsForTheNextStart)
{
    test::launchApplication();
    Ref<CheckBox> loop = wPanel()->CheckBoxLoop();
    expectMusic(true, false, "at launch");
    test::click(loop);
    expectLoopSetting(true, "Loop box ticked");
    expectMusic(true, false, "Loop box ticked while the song plays once");
    test::click(loop);
    test::click(loop);
    expectLoopSetting(true, "Loop box cleared and ticked again");
    expectMusic(true, false, "Loop box cleared and ticked again");
    ASSERT_TRUE(test::chooseMenuItem("AdjustMusicOff"));
    ASSERT_TRUE(test::chooseMenuItem("AdjustMusicOn"));
    expectMusic(true, true, "started again");
    test::click(loop);
    expectLoopSetting(false, "Loop box cleared while looping");
    expectMusic(true, true, "Loop box cleared while looping");
}

// A load that failed is not tried again: a song put in place after launch stays absent.
TEST(FlagSong, AFailedLoadIsNotTriedAgain)
{
    test::TemporaryBundle bundle(test::TemporaryBundle::Resources::Empty);
    EXPECT_EQ(reportsDuring([&] { test::launchApplication(bundle.executable()); }), 1);
    ASSERT_FALSE(FlagSong());
    ASSERT_TRUE(QFile::copy(FLAG_RESOURCES_DIR "/FlagSong.mp3", bundle.songPath()));
    EXPECT_FALSE(FlagSong());
    EXPECT_EQ(reportsDuring([] { ASSERT_TRUE(test::chooseMenuItem("AdjustMusicOff")); }), 1) << "still no song to stop";
    EXPECT_FALSE(FlagSong());
}

using Resources = test::TemporaryBundle::Resources;

class FlagSongMissing : public testing::TestWithParam<Resources> { };

// Without the song the application runs on: each use of the song is reported once and
// changes nothing else.
TEST_P(FlagSongMissing, IsReportedOnceForEachUseAndTheApplicationRunsOn)
{
    test::TemporaryBundle bundle(GetParam());
    int atLaunch = reportsDuring([&] { test::launchApplication(bundle.executable()); });
    EXPECT_EQ(atLaunch, 1);
    EXPECT_FALSE(FlagSong());
    Ref<class wFlag> flag = wFlag();
    Ref<class wPanel> panel = wPanel();
    EXPECT_EQ(flag->Width(), 720);
    EXPECT_TRUE(panel->Visible());

    struct Use {
        const char* what;
        std::function<void()> take;
    };
    const Use uses[] = {
        { "Volume +", [] { ASSERT_TRUE(test::chooseMenuItem("AdjustVolInc")); } },
        { "Volume -", [] { ASSERT_TRUE(test::chooseMenuItem("AdjustVolDec")); } },
        { "Music Off", [] { ASSERT_TRUE(test::chooseMenuItem("AdjustMusicOff")); } },
        { "Music box cleared", [&] { test::click(panel->CheckBoxM()); } },
        { "Volume slider moved", [&] { test::moveSlider(panel->VolumeSlider(), 60); } },
        { "Volume + once more", [] { ASSERT_TRUE(test::chooseMenuItem("AdjustVolInc")); } },
    };
    for (const Use& use : uses)
        EXPECT_EQ(reportsDuring(use.take), 1) << use.what;

    int quietly = reportsDuring([&] {
        double before = flag->theta;
        EXPECT_TRUE(test::waitUntil([&] { return flag->theta != before; }, 1000)) << "the sun turns";
        test::moveSlider(panel->SizeSlider(), 900);
        test::click(panel->CheckBoxLoop());
    });
    EXPECT_EQ(quietly, 0);
    EXPECT_EQ(flag->Width(), 900);
    EXPECT_TRUE(test::menuAction("AdjustLoop")->isChecked());
    EXPECT_FALSE(bundle.releasedAWaitingReader()) << "the launch waited on the song's file";
}

INSTANTIATE_TEST_SUITE_P(Bundles, FlagSongMissing, testing::Values(Resources::Empty, Resources::NotMp3, Resources::Missing, Resources::NamedPipe),
                         [](const testing::TestParamInfo<Resources>& info) {
                             switch (info.param) {
                             case Resources::Empty: return "NoSongInResources";
                             case Resources::NotMp3: return "NoMp3UnderTheSongsName";
                             case Resources::Missing: return "NoResourcesFolder";
                             case Resources::NamedPipe: return "ANamedPipeUnderTheSongsName";
                             default: return "Other";
                             }
                         });

} // namespace

namespace {

// The reports written to standard error while `action` runs.
std::string reportOf(const std::function<void()>& action)
{
    testing::internal::CaptureStderr();
    action();
    return testing::internal::GetCapturedStderr();
}

} // namespace

// The report names the handler that used the missing song, in every build.
TEST(FlagSong, AMissingSongIsReportedAsRaisedWhereItWasUsed)
{
    test::TemporaryBundle bundle(Resources::Empty);
    const std::string atLaunch = reportOf([&] { test::launchApplication(bundle.executable()); });
    EXPECT_NE(atLaunch.find("(raised in wPanel::VolumeSlider_ValueChanged)"), std::string::npos) << atLaunch;
    Ref<class wPanel> panel = wPanel();
    struct Use {
        std::function<void()> take;
        const char* handler;
    };
    const Use uses[] = {
        { [&] { test::moveSlider(panel->VolumeSlider(), 60); }, "wPanel::VolumeSlider_ValueChanged" },
        { [&] { test::click(panel->CheckBoxM()); }, "wPanel::CheckBoxM_Action" },
    };
    for (const Use& use : uses) {
        const std::string report = reportOf(use.take);
        EXPECT_NE(report.find(std::string("(raised in ") + use.handler + ")"), std::string::npos) << report;
    }
}
