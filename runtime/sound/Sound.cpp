#include "sound/Sound.h"

#include "qt/QtSupport.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QByteArray>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QtMultimedia/qaudio.h>

#include <algorithm>
#include <utility>
#include <vector>

RUNTIME_CLASS_RECORD(Sound, "Sound", Object)

struct Sound::Player {
    explicit Player(const QByteArray& bytes)
        : mp3(bytes)
    {
    }
    ~Player()
    {
        std::erase(playing(), this);
        disposeQtObject(media);
        disposeQtObject(roundEnd);
    }
    // Ends the pipeline, deleted at once: GStreamer's PulseAudio sinks in one process share one
    // server connection, so a sink made while this one lives would take over its connection,
    // dead if the server has gone ("Connection terminated"); and at exit the event loop that
    // would run a later deletion has ended.
    void release()
    {
        if (roundEnd)
            roundEnd->stop();
        if (!media)
            return;
        media->disconnect();
        delete media;
        media = nullptr;
        output = nullptr;
        failed = false;
    }
    // The players whose media backend has been started.
    static std::vector<Player*>& playing()
    {
        static auto* players = new std::vector<Player*>;
        return *players;
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    QByteArray mp3;
    // Made anew for every start, so sounds that never play never start the media backend. A
    // pipeline rewound after a pause or its end now and then plays on in silence (its sink's
    // clock lost, under load), and only a new one reaches a sound server that has come up or
    // come back since: Qt 6.4 asks for the outputs once and sticks to what it found. The player
    // owns its output and the stream it reads the bytes from: the file was read once, when it
    // was opened.
    QMediaPlayer* media = nullptr;
    QAudioOutput* output = nullptr;
    // The output has failed (its sound server went away); the pipeline plays no more.
    bool failed = false;
    // The song's length in milliseconds, once a pipeline has read it.
    int64_t length = 0;
    // Ends the round from the event loop: at the end of the media, or when a round whose
    // output failed would have ended.
    QTimer* roundEnd = nullptr;
};

namespace {

// One MPEG audio frame header: its frame's length in bytes, or 0 when it is not layer III.
struct FrameHeader {
    int version = 0; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int sampleRateIndex = 0;
    int64_t length = 0;
};

FrameHeader layerThreeHeader(const unsigned char* bytes)
{
    if (bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0)
        return {};
    const int version = (bytes[1] >> 3) & 3;
    const int layer = (bytes[1] >> 1) & 3;
    const int bitrateIndex = bytes[2] >> 4;
    const int sampleRateIndex = (bytes[2] >> 2) & 3;
    const int padding = (bytes[2] >> 1) & 1;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || sampleRateIndex == 3)
        return {};
    static constexpr int kBitratesMpeg1[15] = { 0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320 };
    static constexpr int kBitratesMpeg2[15] = { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160 };
    static constexpr int kSampleRatesMpeg1[3] = { 44100, 48000, 32000 };
    const bool mpeg1 = version == 3;
    const int64_t bitrate = (mpeg1 ? kBitratesMpeg1 : kBitratesMpeg2)[bitrateIndex] * 1000;
    const int64_t sampleRate = kSampleRatesMpeg1[sampleRateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const int64_t samplesPerFrameOver8 = mpeg1 ? 144 : 72;
    return { version, sampleRateIndex, samplesPerFrameOver8 * bitrate / sampleRate + padding };
}

// True when the bytes are MPEG audio layer III: past an ID3v2 tag, within the first 64 KiB,
// a run of frames whose headers agree, each starting where the one before it ends.
bool holdsMp3(const QByteArray& bytes)
{
    constexpr int kFramesInARow = 4;
    constexpr int64_t kSearchedBytes = 64 * 1024;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const int64_t size = bytes.size();
    int64_t start = 0;
    if (size >= 10 && data[0] == 'I' && data[1] == 'D' && data[2] == '3') {
        const int64_t tagSize = (int64_t(data[6] & 0x7F) << 21) | (int64_t(data[7] & 0x7F) << 14)
            | (int64_t(data[8] & 0x7F) << 7) | int64_t(data[9] & 0x7F);
        const bool hasFooter = data[5] & 0x10;
        start = 10 + tagSize + (hasFooter ? 10 : 0);
    }
    for (int64_t first = start; first + 4 <= size && first < start + kSearchedBytes; ++first) {
        const FrameHeader header = layerThreeHeader(data + first);
        if (!header.length)
            continue;
        int64_t at = first;
        int frames = 0;
        while (frames < kFramesInARow && at + 4 <= size) {
            const FrameHeader next = layerThreeHeader(data + at);
            if (!next.length || next.version != header.version || next.sampleRateIndex != header.sampleRateIndex)
                break;
            at += next.length;
            ++frames;
        }
        // A short file may end after fewer frames, but exactly at a frame's end.
        if (frames == kFramesInARow || (frames > 0 && at == size))
            return true;
    }
    return false;
}

float outputLevel(int64_t volume)
{
    // The slider's steps should sound even, so its value is taken on a logarithmic scale.
    return QAudio::convertVolume(static_cast<float>(volume) / 100.0f, QAudio::LogarithmicVolumeScale,
                                 QAudio::LinearVolumeScale);
}

} // namespace

Sound::Sound() = default;

Sound::Sound(const QByteArray& mp3, const std::string& name)
    : m_player(std::make_unique<Player>(mp3))
    , m_name(name)
{
}

// Taking a player down while the process exits could also deadlock GStreamer against its
// streaming thread; at exit the player is left to the process like every Qt object.
Sound::~Sound() = default;

Ref<Sound> Sound::fromMp3(const QByteArray& bytes, const std::string& name)
{
    if (!holdsMp3(bytes))
        return nullptr;
    return makeRef<Sound>(bytes, name);
}

void Sound::Volume(int64_t volume)
{
    m_volume = std::clamp<int64_t>(volume, 0, 100);
    if (m_player && m_player->output)
        m_player->output->setVolume(outputLevel(m_volume));
}

void Sound::Play()
{
    start(false);
}

void Sound::PlayLooping()
{
    start(true);
}

void Sound::Stop()
{
    m_playing = false;
    m_looping = false;
    if (!m_player)
        return;
    if (m_player->roundEnd)
        m_player->roundEnd->stop();
    // Pausing at the start stops as well, and GStreamer takes it at once, where a full stop
    // waits up to a second for an audio sink that has no sound server behind it.
    if (m_player->media) {
        m_player->media->pause();
        m_player->media->setPosition(0);
    }
}

double Sound::outputVolume() const
{
    return m_player && m_player->output ? m_player->output->volume() : -1.0;
}

void Sound::start(bool looping)
{
    m_playing = true;
    m_looping = looping;
    if (!m_player)
        return;
    Player& player = *m_player;
    // One pipeline per sound: the one there ends before the next is built, so there is never
    // a second playback.
    player.release();
    build();
    player.output->setVolume(outputLevel(m_volume));
    player.media->play();
}

void Sound::build()
{
    Player& player = *m_player;
    if (!player.roundEnd) {
        player.roundEnd = new QTimer;
        player.roundEnd->setSingleShot(true);
        QObject::connect(player.roundEnd, &QTimer::timeout, player.roundEnd, [this] { reachedEnd(); });
    }
    if (std::find(Player::playing().begin(), Player::playing().end(), &player) == Player::playing().end())
        Player::playing().push_back(&player);
    player.media = new QMediaPlayer;
    player.output = new QAudioOutput(player.media);
    player.media->setAudioOutput(player.output);
    // The next round may build a new pipeline, which is not done inside this one's signal.
    QObject::connect(player.media, &QMediaPlayer::mediaStatusChanged, player.media,
                     [&player](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia)
                             player.roundEnd->start(0);
                     });
    QObject::connect(player.media, &QMediaPlayer::durationChanged, player.media, [&player](qint64 duration) {
        if (duration > 0)
            player.length = duration;
    });
    QObject::connect(player.media, &QMediaPlayer::errorOccurred, player.media, [this] { outputFailed(); });
    auto* stream = new QBuffer(player.media);
    stream->setData(player.mp3);
    stream->open(QIODevice::ReadOnly);
    // The name tells the backend what kind of data the stream holds.
    player.media->setSourceDevice(stream, QUrl::fromLocalFile(QString::fromStdString(m_name)));
}

void Sound::releasePlayers()
{
    for (Player* player : std::exchange(Player::playing(), {}))
        player->release();
}

void Sound::outputFailed()
{
    Player& player = *m_player;
    if (player.failed)
        return;
    player.failed = true;
    if (!m_playing)
        return;
    // The round goes on in silence and ends when it would have; the next start builds a new
    // pipeline, which reaches a sound server that has come back by then.
    constexpr int64_t kUnknownLengthMs = 10000;
    const int64_t left = player.length > 0 ? std::clamp<int64_t>(player.length - player.media->position(), 0, player.length)
                                           : kUnknownLengthMs;
    player.roundEnd->start(toQtInt(left, 0));
}

void Sound::reachedEnd()
{
    if (!m_looping) {
        m_playing = false;
        return;
    }
    // Each round of a loop is a start of its own, with a pipeline of its own.
    start(true);
}
