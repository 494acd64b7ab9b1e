// Times one frame of the flag as the running application makes it: an animation tick, whose
// repaint of the ground canvas runs DrawFlag and copies the back buffer onto the canvas. Ground widths 360,
// 720, 1440 and 1890 (maximized on this screen), Glory off and on, on a 1920 x 1080 main screen, or with `--2x` on one of twice the
// pixel density. Build with `cmake -DFLAG_BENCH=ON -DCMAKE_BUILD_TYPE=Release` and run `bench/FrameBench`.

#include "BenchLaunch.h"
#include "wFlag.h"
#include "windows/CheckBox.h"
#include "wPanel.h"

#include <QByteArray>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

const char* g_density = "";

void frame(benchmark::State& state)
{
    Ref<class wFlag> flag = wFlag();
    flag->ChangeSize(state.range(0));
    flag->TimerFlag()->Enabled(false);
    QCoreApplication::processEvents();
    wPanel()->CheckBoxGlory()->Value(state.range(1) != 0);
    Ref<Timer> timer = flag->TimerFlag();
    for (auto _ : state) {
        flag->TimerFlag_Action(timer);
        QCoreApplication::processEvents();
    }
    state.SetLabel(std::to_string(flag->cnvGround()->Width()) + "x" + std::to_string(flag->cnvGround()->Height())
                   + (state.range(1) ? " glory" : "") + g_density);
}

BENCHMARK(frame)->ArgsProduct({ { 360, 720, 1440, 1890 }, { 0, 1 } })->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const char* screen = FLAG_SCREEN_CONFIG;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--2x") == 0) {
            screen = FLAG_SCREEN_CONFIG_2X;
            g_density = " @2x";
            std::memmove(argv + i, argv + i + 1, static_cast<size_t>(argc - i) * sizeof(char*));
            --argc;
            break;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screen);
    benchmark::Initialize(&argc, argv);
    launchWithoutTicks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
