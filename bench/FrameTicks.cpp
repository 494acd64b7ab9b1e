// Runs animation ticks of the flag as the running application makes them, for instruction
// counts: `FrameTicks WIDTH TICKS GLORY [grown]` sets the flag to WIDTH (first maximized to 1890
// and back with `grown`), runs 60 ticks to settle, then TICKS ticks with callgrind's
// instrumentation on, and prints the wall time per tick. Count with
// `valgrind --tool=callgrind --instr-atstart=no --separate-threads=yes bench/FrameTicks 1890 20 1`
// and read the main thread's file (`-01`): the song's threads start decoding at times of their
// own, some runs inside the counted ticks.

#include "BenchLaunch.h"
#include "wFlag.h"
#include "windows/CheckBox.h"
#include "wPanel.h"

#include <QByteArray>
#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

namespace {

constexpr int kSettlingTicks = 60;
constexpr int kGrownWidth = 1890;

void ticks(class wFlag& flag, int count)
{
    Ref<Timer> timer = flag.TimerFlag();
    for (int i = 0; i < count; ++i) {
        flag.TimerFlag_Action(timer);
        QCoreApplication::processEvents();
    }
}

void resize(class wFlag& flag, int width)
{
    flag.ChangeSize(width);
    // Frames come from the driver alone.
    flag.TimerFlag()->Enabled(false);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: FrameTicks WIDTH TICKS GLORY [grown]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int count = std::atoi(argv[2]);
    const bool glory = std::atoi(argv[3]) != 0;
    const bool grown = argc > 4 && std::strcmp(argv[4], "grown") == 0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + FLAG_SCREEN_CONFIG);
    launchWithoutTicks();
    Ref<class wFlag> flag = wFlag();
    wPanel()->CheckBoxGlory()->Value(glory);
    if (grown) {
        resize(*flag, kGrownWidth);
        ticks(*flag, 5);
    }
    resize(*flag, width);
    ticks(*flag, kSettlingTicks);

    const auto start = std::chrono::steady_clock::now();
    CALLGRIND_START_INSTRUMENTATION;
    ticks(*flag, count);
    CALLGRIND_STOP_INSTRUMENTATION;
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    std::printf("%d ticks at %lld x %lld, glory %s%s: %.3f ms a tick\n", count, static_cast<long long>(flag->cnvGround()->Width()),
                static_cast<long long>(flag->cnvGround()->Height()), glory ? "on" : "off", grown ? ", after 1890" : "",
                spent.count() / count);
    return 0;
}
