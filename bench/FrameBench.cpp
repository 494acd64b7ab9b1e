// Times one frame of the flag at two sizes: the field and canton fills, the sun, the glory mask
// with its six sectors, and the masked copy onto the back buffer. Run with
// `cmake -DFLAG_BENCH=ON -DCMAKE_BUILD_TYPE=Release` and `FrameBench`.

#include "ArcShape.h"
#include "FigureShape.h"
#include "Graphics.h"
#include "Group2D.h"
#include "OvalShape.h"
#include "Picture.h"

#include <QByteArray>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.14159265;
constexpr Color kFieldRed { 0xF20000 };
constexpr Color kCantonBlue { 0x0029CC };
constexpr Color kWhite { 0xFFFFFF };
constexpr Color kGloryGrey { 0x222222 };
constexpr Color kBlack { 0x000000 };
constexpr int64_t kScreenWidth = 1920;
constexpr int64_t kScreenHeight = 1080;

Ref<OvalShape> disc(Color colour, double diameter)
{
    Ref<OvalShape> oval = makeRef<OvalShape>();
    oval->FillColor(colour);
    oval->Width(diameter);
    oval->Height(diameter);
    return oval;
}

// The sun: a blue disc, the twelve-pointed star, a blue ring and the white centre.
Ref<Group2D> sun()
{
    Ref<FigureShape> star = makeRef<FigureShape>();
    star->FillColor(kWhite);
    auto vertex = [](int i) {
        const double radius = i % 2 ? 300 : 600, angle = i * 15 * kPi / 180.0;
        return std::pair { float(std::trunc(radius * std::cos(angle))), float(std::trunc(radius * std::sin(angle))) };
    };
    for (int i = 0; i < 24; ++i)
        star->AddLine(vertex(i).first, vertex(i).second, vertex(i + 1).first, vertex(i + 1).second);
    Ref<Group2D> group = makeRef<Group2D>();
    group->Append(disc(kCantonBlue, 1200));
    group->Append(star);
    group->Append(disc(kCantonBlue, 680));
    group->Append(disc(kWhite, 600));
    return group;
}

void frame(benchmark::State& state)
{
    const int64_t width = state.range(0), height = width * 2 / 3;
    const int64_t cantonWidth = width / 2, cantonHeight = height / 2;
    Ref<Group2D> emblem = sun();
    Ref<ArcShape> glory = makeRef<ArcShape>();
    glory->Width(300);
    glory->Height(300);
    glory->ArcAngle(kPi / 6);
    glory->FillColor(kBlack);
    Ref<Picture> flag = Picture::Constructor(kScreenWidth, kScreenHeight, 32);
    Ref<Picture> mask = Picture::Constructor(kScreenWidth, kScreenHeight, 32);
    Ref<Picture> backBuffer = Picture::Constructor(kScreenWidth, kScreenHeight, 32);
    double theta = 0;
    for (auto _ : state) {
        emblem->Rotation(theta);
        emblem->Scale(cantonWidth / 2400.0);
        glory->Scale(emblem->Scale() * 30.0);
        flag->Graphics()->ForeColor(kFieldRed);
        flag->Graphics()->FillRect(0, 0, width, height);
        flag->Graphics()->ForeColor(kCantonBlue);
        flag->Graphics()->FillRect(0, 0, cantonWidth, cantonHeight);
        flag->Graphics()->DrawObject(emblem, cantonWidth / 2.0, cantonHeight / 2.0);
        mask->Graphics()->ForeColor(kGloryGrey);
        mask->Graphics()->FillRect(0, 0, width, height);
        mask->Graphics()->ForeColor(kBlack);
        for (int i = 1; i <= 6; ++i) {
            glory->Rotation((kPi / 12 + theta) + i * (kPi / 3));
            mask->Graphics()->DrawObject(glory, cantonWidth / 2.0, cantonHeight / 2.0);
        }
        flag->Mask(mask);
        backBuffer->Graphics()->ForeColor(kWhite);
        backBuffer->Graphics()->FillRect(0, 0, width, height);
        backBuffer->Graphics()->DrawPicture(flag, 0, 0);
        theta += kPi / 180;
    }
}

} // namespace

BENCHMARK(frame)->Arg(720)->Arg(1440)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + FLAG_SCREEN_CONFIG);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
