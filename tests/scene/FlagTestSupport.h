#pragma once

// What the flag-scene and panel tests share: reading the flag's pixels, moving the panel's
// controls as the user does, and bundles made in a temporary folder.

#include "AppTestSupport.h"

#include "drawing/Picture.h"
#include "windows/CheckBox.h"
#include "windows/Slider.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <cstdlib>
#include <string>

namespace test {

inline constexpr QRgb kRed = 0xFFF20000;
inline constexpr QRgb kBlue = 0xFF0029CC;
inline constexpr QRgb kWhite = 0xFFFFFFFF;

// The point `radius` pixels from (cx, cy) at `degrees`, counted clockwise from the right
// (y grows downward).
inline QPoint polar(double cx, double cy, double degrees, double radius)
{
    double radians = degrees * M_PI / 180.0;
    return QPoint(static_cast<int>(std::floor(cx + radius * std::cos(radians))),
                  static_cast<int>(std::floor(cy + radius * std::sin(radians))));
}

inline QRgb pixel(const QImage& image, QPoint at)
{
    return image.pixel(at);
}

// Every channel of `colour` at or above `base`'s, and the whole clearly lighter.
inline bool lighterThan(QRgb colour, QRgb base)
{
    int gain = 0;
    for (int shift : { 16, 8, 0 }) {
        int difference = static_cast<int>((colour >> shift) & 0xFF) - static_cast<int>((base >> shift) & 0xFF);
        if (difference < 0)
            return false;
        gain += difference;
    }
    return gain >= 60;
}

inline int largestChannelDifference(QRgb a, QRgb b)
{
    int largest = 0;
    for (int shift : { 24, 16, 8, 0 })
        largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return largest;
}

// Moves a slider's thumb to `value` as a drag by the user does.
inline void moveSlider(const Ref<Slider>& slider, int value)
{
    auto* qtSlider = qobject_cast<QSlider*>(slider->widget());
    qtSlider->setValue(value);
}

// A left-button press and release on the ground canvas, as the window system delivers them;
// true when the press was claimed.
inline bool pressOnFlag(QPoint at)
{
    QWidget* ground = wFlag()->cnvGround()->widget();
    QPointF global = ground->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ground, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(ground, &release);
    return press.isAccepted();
}

// A click on the box itself.
inline void click(const Ref<CheckBox>& box)
{
    QTest::mouseClick(box->widget(), Qt::LeftButton, {}, QPoint(8, box->widget()->height() / 2));
}

// Shown and enabled in its menu, so the user can choose it.
inline bool offered(const std::string& itemName)
{
    QAction* action = menuAction(itemName);
    return action && action->isVisible() && action->isEnabled();
}

// Neither shown nor enabled.
inline bool withdrawn(const std::string& itemName)
{
    QAction* action = menuAction(itemName);
    return action && !action->isVisible() && !action->isEnabled();
}

// A bundle in a temporary folder: bin/ for the executable and, as asked, the resources folder
// with the song, with nothing, with a file of the song's name that is no MP3, or no such folder.
class TemporaryBundle {
public:
    enum class Resources { Song, Empty, NotMp3, Missing, NamedPipe };

    explicit TemporaryBundle(Resources resources)
    {
        QDir root(m_folder.path());
        root.mkpath("bin");
        if (resources != Resources::Missing)
            root.mkpath(resourcesPath());
        if (resources == Resources::Song)
            QFile::copy(FLAG_RESOURCES_DIR "/FlagSong.mp3", songPath());
        if (resources == Resources::NotMp3) {
            QFile file(songPath());
            if (file.open(QIODevice::WriteOnly))
                file.write("ID3 but not a song: text where the frames should be\n");
        }
        if (resources == Resources::NamedPipe && ::mkfifo(QFile::encodeName(songPath()).constData(), 0600) == 0)
            m_releaser = std::thread([this] { releaseAWaitingReaderLater(); });
    }
    ~TemporaryBundle()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        if (m_releaser.joinable())
            m_releaser.join();
    }

    std::string executable() const { return (m_folder.path() + "/bin/FlagOfTarnia").toStdString(); }
    QString resourcesPath() const { return QDir::cleanPath(m_folder.path() + "/bin/" FLAG_RESOURCES_FROM_EXECUTABLE); }
    QString songPath() const { return resourcesPath() + "/FlagSong.mp3"; }

    // True when a reader was still waiting on the named pipe after ten seconds and had to be
    // let go: something opened it in a way that blocks.
    bool releasedAWaitingReader() const { return m_released; }

private:
    void releaseAWaitingReaderLater()
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, std::chrono::seconds(10), [this] { return m_done; }))
            return;
        // A writer that opens and closes gives a waiting reader the end of the file.
        const int writer = ::open(QFile::encodeName(songPath()).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            m_released = true;
            ::close(writer);
        }
    }

    QTemporaryDir m_folder;
    std::thread m_releaser;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::atomic<bool> m_released = false;
};

} // namespace test
