#include "WindowSpy.h"

#include "menus/MenuItem.h"
#include "qt/QtSupport.h"

#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QMainWindow>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace {

constexpr int64_t kMost = std::numeric_limits<int64_t>::max();
constexpr int64_t kLeast = std::numeric_limits<int64_t>::min();
constexpr int kIntMost = std::numeric_limits<int>::max();

// A window whose CreateControls makes its controls with `build`, not yet shown.
Ref<SpyWindow> builtWindow(const std::function<void(SpyWindow&)>& build)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(447, 225)); };
    window->onCreateControls = build;
    window->Constructor();
    return window;
}

} // namespace

TEST(DesignApply, KeysFindTheirPropertiesWithoutRegardToCaseAndALaterRepeatStands)
{
    Ref<SpyWindow> window = builtWindow([](SpyWindow& w) {
        w.addControl<Label>("sTextMail", DesignRecord({
            { "InitialParent", "" },
            { "DataField", "" },
            { "Transparent", true },
            { "Transparent", false },
            { "VALUE", "Any suggestion? \rPlease contact with the author.\rE-mail: a@b.c" },
            { "Multiline", true },
            { "tooltip", "" },
            { "TextAlignment", 2 },
            { "FontName", "System" },
            { "FontSize", 0.0f },
            { "FontUnit", FontUnit { 0 } },
            { "Left", 48 }, { "Top", 149 }, { "Width", 218 }, { "Height", 67 },
            { "Name", "sTextMail" },
        }));
    });
    Ref<Label> label = RuntimeCheckCast<Label>(window->_ControlByName("sTextMail"));
    auto* qtLabel = static_cast<QLabel*>(label->widget());

    EXPECT_EQ(label->Value(), "Any suggestion? \rPlease contact with the author.\rE-mail: a@b.c") << "the text keeps its carriage returns";
    EXPECT_EQ(qtLabel->text(), QString("Any suggestion? \nPlease contact with the author.\nE-mail: a@b.c"));
    EXPECT_TRUE(label->MultiLine());
    EXPECT_TRUE(qtLabel->wordWrap());
    EXPECT_FALSE(label->Transparent());
    EXPECT_TRUE(qtLabel->autoFillBackground());
    EXPECT_EQ(label->Tooltip(), "");
    EXPECT_EQ(std::get<std::string>(*label->storedProperty("DataField")), "");
    EXPECT_EQ(qtLabel->parentWidget(), window->contentWidget()) << "an empty InitialParent places it in the window";
    EXPECT_EQ(qtLabel->geometry(), QRect(48, 149, 218, 67));
    EXPECT_EQ(qtLabel->font(), QApplication::font(qtLabel)) << "System at size 0 is the system's font";
}

// Qt takes the locale from the environment at start-up, so a user's own applies to every
// name the runtime compares; under a Turkish one the C library's "I" is no capital "i".
TEST(DesignApply, NamesMatchWithoutRegardToCaseUnderEveryLocale)
{
    QTemporaryDir locales;
    ASSERT_TRUE(locales.isValid());
    const int made = QProcess::execute("localedef", { "-i", "tr_TR", "-f", "UTF-8", locales.filePath("tr_TR.UTF-8") });
    ASSERT_EQ(made, 0) << "localedef could not make the Turkish locale";
    setenv("LOCPATH", QFile::encodeName(locales.path()).constData(), 1);

    for (const char* locale : { "C", "tr_TR.UTF-8" }) {
        SCOPED_TRACE(locale);
        ASSERT_TRUE(std::setlocale(LC_ALL, locale));
        Ref<SpyWindow> window = builtWindow([](SpyWindow& w) {
            w.addControl<Label>("sTextMail", DesignRecord({ { "TOOLTIP", "Write to us" }, { "Name", "sTextMail" } }));
        });
        Ref<Control> found = window->_ControlByName("STEXTMAIL");
        ASSERT_TRUE(found);
        EXPECT_EQ(RuntimeCheckCast<Label>(found)->Tooltip(), "Write to us");
        window->Close();
    }
    std::setlocale(LC_ALL, "C");
}

TEST(DesignApply, TextAlignmentTwoCentresThreeRightAlignsAnythingElseLeftAligns)
{
    const std::pair<int64_t, Qt::Alignment> cases[] = {
        { 2, Qt::AlignHCenter }, { 3, Qt::AlignRight }, { 0, Qt::AlignLeft }, { 1, Qt::AlignLeft }, { 7, Qt::AlignLeft },
    };
    for (const auto& [alignment, expected] : cases) {
        Ref<SpyWindow> window = builtWindow([alignment](SpyWindow& w) {
            w.addControl<Label>("Size", DesignRecord({ { "Name", "Size" }, { "TextAlignment", alignment }, { "Value", "Size" } }));
        });
        auto* qtLabel = static_cast<QLabel*>(RuntimeCheckCast<Label>(window->_ControlByName("Size"))->widget());
        EXPECT_EQ(qtLabel->alignment() & Qt::AlignHorizontal_Mask, expected) << alignment;
        window->Close();
    }
}

TEST(DesignApply, ASlidersValueBeforeItsRangeStandsOnceTheRangeIsApplied)
{
    struct Case {
        int64_t value, minimum, maximum, expected;
    };
    const Case cases[] = {
        { 720, 180, 1440, 720 },
        { 4, 1, 6, 4 },
        { 0, 0, 100, 0 },
        { 80, 1, 6, 6 }, // still outside once the whole record is in
    };
    for (const Case& c : cases) {
        Ref<SpyWindow> window = builtWindow([&c](SpyWindow& w) {
            w.addControl<Slider>("Size", DesignRecord({ { "InitialParent", "" }, { "PageStep", 90 }, { "LineStep", 30 }, { "Value", c.value },
                                                        { "Name", "Size" }, { "MinimumValue", c.minimum }, { "MaximumValue", c.maximum },
                                                        { "AllowLiveScrolling", true }, { "TickMarkStyle", 0 } }),
                                 { kSliderValueChangedEvent });
        });
        Ref<Slider> slider = RuntimeCheckCast<Slider>(window->_ControlByName("Size"));
        auto* qtSlider = static_cast<QSlider*>(slider->widget());
        EXPECT_EQ(slider->Value(), c.expected) << c.value;
        EXPECT_EQ(qtSlider->value(), c.expected);
        EXPECT_EQ(qtSlider->minimum(), c.minimum);
        EXPECT_EQ(qtSlider->maximum(), c.maximum);
        EXPECT_EQ(qtSlider->pageStep(), 90);
        EXPECT_EQ(window->count("ValueChanged Size " + std::to_string(c.expected)), 0) << "the design reaches no handler";
        window->Close();
    }
}

TEST(DesignApply, InitialParentPutsACanvasInsideTheNamedCanvas)
{
    Ref<SpyWindow> window = builtWindow([](SpyWindow& w) {
        w.addControl<Canvas>("cnvGround", DesignRecord({ { "Name", "cnvGround" }, { "Width", 360 }, { "Height", 240 }, { "InitialParent", "" } }));
        w.addControl<Canvas>("cnvSky", DesignRecord({ { "Name", "cnvSky" }, { "Width", 180 }, { "Height", 120 }, { "InitialParent", "cnvGround" } }));
    });
    Ref<Canvas> ground = RuntimeCheckCast<Canvas>(window->_ControlByName("cnvGround"));
    Ref<Canvas> sky = RuntimeCheckCast<Canvas>(window->_ControlByName("cnvSky"));
    EXPECT_EQ(ground->widget()->parentWidget(), window->contentWidget());
    EXPECT_EQ(sky->widget()->parentWidget(), ground->widget());
    EXPECT_EQ(sky->widget()->size(), QSize(180, 120));
    EXPECT_TRUE(sky->widget()->isVisible());

    EXPECT_THROW(sky->InitialParent("cnvNowhere"), RuntimeException);
}

TEST(DesignApply, TimerRecordsInEitherOrderGiveTheSameTimer)
{
    Ref<SpyWindow> window = builtWindow([](SpyWindow& w) {
        w.addControl<Timer>("TimerFlag", DesignRecord({ { "RunMode", 2 }, { "Period", 1000 } }));
        w.addControl<Timer>("IdleTimer", DesignRecord({ { "Period", 1000 }, { "RunMode", 2 } }));
    });
    for (const char* name : { "TimerFlag", "IdleTimer" }) {
        Ref<Timer> timer = RuntimeCheckCast<Timer>(window->_ControlByName(name));
        EXPECT_EQ(timer->Name(), name) << "the registration names a timer";
        EXPECT_EQ(timer->Period(), 1000);
        EXPECT_EQ(timer->Mode(), Timer::kRepeating);
        EXPECT_TRUE(timer->Enabled());
    }
}

TEST(DesignApply, AKeyWithoutAPropertyIsRefused)
{
    Ref<Label> label = makeRef<Label>();
    EXPECT_THROW(RuntimeMassPropertySetter(*label, DesignRecord({ { "Caption", "Size" } })), RuntimeException);
}

// Values at the ends of their types reach Qt held to what Qt can take, not wrapped.
TEST(DesignApply, ExtremeValuesReachQtSaturated)
{
    struct Case {
        const char* what;
        std::vector<DesignProperty> control;
        std::vector<DesignProperty> window;
        std::function<void(SpyWindow&, Label&)> check;
    };
    const Case cases[] = {
        { "a place near the end plus a width", { { "Left", kMost - 5 }, { "Top", int64_t { 2147483600 } }, { "Width", 100 }, { "Height", 100 } }, {},
          [](SpyWindow&, Label& label) {
              EXPECT_EQ(label.widget()->geometry(), QRect(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, 100, 100));
          } },
        { "sizes at the ends", { { "Left", kLeast }, { "Top", kLeast }, { "Width", kMost }, { "Height", kMost } }, {},
          [](SpyWindow&, Label& label) {
              EXPECT_EQ(label.widget()->geometry(), QRect(-QWIDGETSIZE_MAX, -QWIDGETSIZE_MAX, kLargestQtSize, kLargestQtSize));
              EXPECT_EQ(label.Width(), kMost) << "the control keeps the value it was given";
          } },
        { "a font size beyond int", { { "FontUnit", FontUnit { 1 } }, { "FontSize", 3e38f } }, {},
          [](SpyWindow&, Label& label) { EXPECT_EQ(label.widget()->font().pixelSize(), kIntMost); } },
        { "a font size of NaN", { { "FontUnit", FontUnit { 1 } }, { "FontSize", std::numeric_limits<float>::quiet_NaN() } }, {},
          [](SpyWindow&, Label& label) { EXPECT_EQ(label.widget()->font(), QApplication::font(label.widget())); } },
        { "a minimum height at the end plus the menu bar", {}, { { "MinimumHeight", kMost } },
          [](SpyWindow& window, Label&) {
              EXPECT_EQ(window.MinimumHeight(), kMost);
              EXPECT_EQ(window.qtWidget()->height(), kLargestQtSize) << "the tallest window handed to Qt";
              const int bar = qobject_cast<QMainWindow*>(window.qtWidget())->menuWidget()->height();
              EXPECT_GT(bar, 0);
              EXPECT_EQ(window.Height(), kLargestQtSize - bar) << "below the menu bar";
          } },
    };
    Ref<MenuBar> bar = makeRef<MenuBar>();
    Ref<MenuItem> menu = makeRef<MenuItem>();
    menu->Name("AdjustMenu");
    menu->Value("Adjust");
    bar->AddMenu(menu);
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        Ref<SpyWindow> window = makeRef<SpyWindow>();
        window->onLayout = [&](SpyWindow& w) {
            w.MenuBar(bar);
            RuntimeMassPropertySetter(w, spyWindowDesign(447, 225));
            RuntimeMassPropertySetter(w, DesignRecord(row.window));
        };
        std::vector<DesignProperty> control { { "Name", "Extreme" }, { "Value", "Size" } };
        control.insert(control.end(), row.control.begin(), row.control.end());
        window->onCreateControls = [&](SpyWindow& w) { w.addControl<Label>("Extreme", DesignRecord(control)); };
        window->Constructor();
        row.check(*window, *RuntimeCheckCast<Label>(window->_ControlByName("Extreme")));
        window->Close();
    }
}
