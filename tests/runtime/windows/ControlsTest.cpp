#include "WindowSpy.h"

#include <QCheckBox>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A shown window whose controls `build` makes.
Ref<SpyWindow> windowWith(const std::function<void(SpyWindow&)>& build)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(400, 300)); };
    window->onCreateControls = build;
    window->Constructor();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window->qtWidget()));
    window->events.clear();
    return window;
}

template<typename C>
Ref<C> control(const Ref<SpyWindow>& window, const std::string& name)
{
    return RuntimeCheckCast<C>(window->_ControlByName(name));
}

DesignRecord placed(const std::string& name, int64_t left, int64_t top, int64_t width, int64_t height)
{
    return DesignRecord({ { "Name", name }, { "Left", left }, { "Top", top }, { "Width", width }, { "Height", height } });
}

} // namespace

TEST(SliderValue, FromCodeStaysInTheRangeAndRaisesValueChangedOnlyOnAChange)
{
    struct Case {
        int64_t set;
        int64_t expected;
        bool raises;
    };
    const Case cases[] = {
        { 80, 6, true }, // from 4 up to the maximum
        { 6, 6, false },
        { -5, 1, true },
        { 1, 1, false },
        { 3, 3, true },
    };
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) {
        w.addControl<Slider>("Speed", DesignRecord({ { "Name", "Speed" }, { "Width", 122 }, { "Height", 16 }, { "Value", 4 }, { "MinimumValue", 1 }, { "MaximumValue", 6 } }),
                             { kSliderValueChangedEvent });
    });
    Ref<Slider> speed = control<Slider>(window, "Speed");
    for (const Case& c : cases) {
        window->events.clear();
        speed->Value(c.set);
        EXPECT_EQ(speed->Value(), c.expected) << c.set;
        EXPECT_EQ(static_cast<QSlider*>(speed->widget())->value(), c.expected);
        EXPECT_EQ(window->events, c.raises ? std::vector<std::string> { "ValueChanged Speed " + std::to_string(c.expected) } : std::vector<std::string> {}) << c.set;
    }
}

TEST(SliderValue, AnEchoFromTheHandlerStopsAfterOneRepetition)
{
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) {
        w.addControl<Slider>("Size", DesignRecord({ { "Name", "Size" }, { "MinimumValue", 180 }, { "MaximumValue", 1440 }, { "Value", 720 } }),
                             { kSliderValueChangedEvent });
    });
    // Like a resize handler that snaps the width and writes it back into the slider.
    window->onValueChanged = [](SpyWindow&, Ref<Slider> sender) { sender->Value(sender->Value() / 30 * 30); };
    control<Slider>(window, "Size")->Value(725);
    EXPECT_EQ(window->events, (std::vector<std::string> { "ValueChanged Size 725", "ValueChanged Size 720" }));
}

TEST(SliderValue, LoweringTheMaximumBelowTheValueMovesTheValue)
{
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) {
        w.addControl<Slider>("Size", DesignRecord({ { "Name", "Size" }, { "MinimumValue", 180 }, { "MaximumValue", 1440 }, { "Value", 1200 } }),
                             { kSliderValueChangedEvent });
    });
    Ref<Slider> size = control<Slider>(window, "Size");
    size->MaximumValue(1900);
    size->MaximumValue(1000);
    EXPECT_EQ(size->Value(), 1000);
    EXPECT_EQ(window->events, std::vector<std::string> { "ValueChanged Size 1000" });
}

TEST(SliderUser, ArrowKeysStepTheValueAndRaiseValueChanged)
{
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) {
        w.addControl<Slider>("Volume", DesignRecord({ { "Name", "Volume" }, { "Width", 123 }, { "Height", 16 }, { "Value", 30 }, { "MinimumValue", 0 },
                                                      { "MaximumValue", 100 }, { "LineStep", 5 } }),
                             { kSliderValueChangedEvent });
    });
    QTest::keyClick(control<Slider>(window, "Volume")->widget(), Qt::Key_Right);
    EXPECT_EQ(control<Slider>(window, "Volume")->Value(), 35);
    EXPECT_EQ(window->events, std::vector<std::string> { "ValueChanged Volume 35" });
}

TEST(SliderUser, WithoutLiveScrollingADragReportsOnlyWhenLetGo)
{
    for (bool live : { true, false }) {
        Ref<SpyWindow> window = windowWith([live](SpyWindow& w) {
            w.addControl<Slider>("Speed", DesignRecord({ { "Name", "Speed" }, { "Left", 10 }, { "Top", 10 }, { "Width", 200 }, { "Height", 20 },
                                                         { "Value", 1 }, { "MinimumValue", 1 }, { "MaximumValue", 6 }, { "AllowLiveScrolling", live } }),
                                 { kSliderValueChangedEvent });
        });
        auto* slider = static_cast<QSlider*>(control<Slider>(window, "Speed")->widget());
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        QPoint handle = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();

        QTest::mousePress(slider, Qt::LeftButton, {}, handle);
        QTest::mouseMove(slider, handle + QPoint(100, 0));
        bool reportedWhileDragging = window->count("ValueChanged Speed " + std::to_string(slider->sliderPosition())) > 0;
        QTest::mouseRelease(slider, Qt::LeftButton, {}, handle + QPoint(100, 0));

        int64_t value = control<Slider>(window, "Speed")->Value();
        EXPECT_GT(value, 1);
        EXPECT_EQ(reportedWhileDragging, live);
        EXPECT_EQ(window->events.back(), "ValueChanged Speed " + std::to_string(value));
        window->Close();
    }
}

TEST(CheckBoxValue, AUserClickAndAChangeFromCodeRaiseActionARepeatedValueDoesNot)
{
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) {
        w.addControl<CheckBox>("Music", DesignRecord({ { "Name", "Music" }, { "Left", 12 }, { "Top", 75 }, { "Width", 75 }, { "Height", 20 },
                                                     { "Caption", "Music" }, { "Value", false }, { "VisualState", 0 } }),
                               { kActionEvent });
    });
    Ref<CheckBox> music = control<CheckBox>(window, "Music");
    auto* box = static_cast<QCheckBox*>(music->widget());

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(music->Value());
    EXPECT_EQ(music->VisualState(), 1);

    music->Value(true);
    music->Value(false);
    EXPECT_FALSE(box->isChecked());
    music->VisualState(2);
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(music->Value());
    QTest::mouseClick(box, Qt::LeftButton);

    EXPECT_EQ(window->events, (std::vector<std::string> { "Action Music 1", "Action Music 0", "Action Music 2", "Action Music 1" }));
    EXPECT_FALSE(box->isTristate()) << "the user only ticks and clears";
}

TEST(PushButtonPress, AClickRaisesActionOnceADisabledButtonNone)
{
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) {
        w.addControl<PushButton>("OK", DesignRecord({ { "Name", "OK" }, { "Left", 286 }, { "Top", 190 }, { "Width", 109 }, { "Height", 20 }, { "Caption", "OK" } }),
                                 { kActionEvent });
    });
    Ref<PushButton> ok = control<PushButton>(window, "OK");
    EXPECT_EQ(static_cast<QPushButton*>(ok->widget())->text(), QString("OK"));
    QTest::mouseClick(ok->widget(), Qt::LeftButton);
    ok->Enabled(false);
    QTest::mouseClick(ok->widget(), Qt::LeftButton);
    EXPECT_EQ(window->events, std::vector<std::string> { "Action OK" });
}

TEST(CanvasMouseDown, GetsCanvasCoordinatesAndFalseLetsThePressThroughToTheCanvasBeneath)
{
    for (bool skyClaims : { true, false }) {
        Ref<SpyWindow> window = windowWith([](SpyWindow& w) {
            w.addControl<Canvas>("Ground", placed("Ground", 20, 10, 360, 240), { kCanvasMouseDownEvent });
            w.addControl<Canvas>("Sky", DesignRecord({ { "Name", "Sky" }, { "Left", 30 }, { "Top", 40 }, { "Width", 180 }, { "Height", 120 },
                                                     { "InitialParent", "Ground" } }),
                                 { kCanvasMouseDownEvent });
        });
        window->onMouseDown = [skyClaims](Ref<Canvas> sender, int64_t, int64_t) { return sender->Name() == "Sky" && skyClaims; };

        QTest::mousePress(control<Canvas>(window, "Sky")->widget(), Qt::LeftButton, {}, QPoint(5, 6));

        std::vector<std::string> expected { "MouseDown Sky 5,6" };
        if (!skyClaims)
            expected.push_back("MouseDown Ground 35,46");
        EXPECT_EQ(window->events, expected);
        window->Close();
    }
}

TEST(CanvasPaint, DrawsThroughTheGraphicsOfThePaint)
{
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) { w.addControl<Canvas>("Ground", placed("Ground", 0, 0, 60, 40), { kCanvasPaintEvent }); });
    std::vector<Rect> paintedAreas;
    Ref<Graphics> kept;
    window->onPaint = [&](Ref<Canvas>, Ref<Graphics> g, const std::vector<Rect>& areas) {
        paintedAreas = areas;
        kept = g;
        g->ForeColor(Color { 0xF20000 });
        g->FillRect(0, 0, 60, 40);
    };

    QImage image = control<Canvas>(window, "Ground")->widget()->grab().toImage();

    EXPECT_EQ(image.pixelColor(30, 20), QColor(0xF2, 0x00, 0x00));
    EXPECT_EQ(paintedAreas, (std::vector<Rect> { Rect { 0, 0, 60, 40 } }));
    EXPECT_THROW(kept->FillRect(0, 0, 1, 1), NilObjectException) << "the surface is the paint's only";
}

TEST(Delegates, ReachTheWindowThroughTheControlAndThrowOnceTheWindowIsGone)
{
    Ref<Slider> orphan;
    Ref<Delegate> delegate;
    {
        Ref<SpyWindow> window = windowWith([](SpyWindow& w) { w.addControl<Slider>("Speed", DesignRecord({ { "Name", "Speed" } })); });
        orphan = control<Slider>(window, "Speed");
        delegate = RuntimeCreateDelegate(&SpyWindow::Slider_ValueChanged, window, "( Slider )", 1);
        RuntimeAddEventHandler(orphan, kSliderValueChangedEvent, delegate);
        orphan->Value(5);
        EXPECT_EQ(window->events, std::vector<std::string> { "ValueChanged Speed 5" });
        EXPECT_EQ(orphan->Window(), window);
        window->Close();
    }
    EXPECT_EQ(orphan->Window(), nullptr);
    EXPECT_THROW(orphan->Value(6), NilObjectException);
    EventArguments arguments;
    arguments.sender = orphan;
    EXPECT_THROW(delegate->invoke(arguments), NilObjectException);
}

TEST(Delegates, BindingRejectsAnEventTheControlDoesNotRaiseOrATargetOfAnotherClass)
{
    Ref<SpyWindow> window = windowWith([](SpyWindow& w) { w.addControl<Slider>("Speed", DesignRecord({ { "Name", "Speed" } })); });
    Ref<Delegate> delegate = RuntimeCreateDelegate(&SpyWindow::Slider_ValueChanged, window, "( Slider )", 1);
    EXPECT_THROW(RuntimeAddEventHandler(control<Slider>(window, "Speed"), kActionEvent, delegate), OutOfBoundsException);
    EXPECT_THROW(RuntimeCreateDelegate(&SpyWindow::Slider_ValueChanged, makeRef<Window>(), "( Slider )", 1), IllegalCastException);
}
