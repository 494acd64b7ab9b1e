#include "AppTestSupport.h"

#include "AboutDesigns.h"
#include "application/Runtime.h"
#include "FlagDesigns.h"
#include "PanelDesigns.h"
#include "wAbout.h"
#include "windows/Canvas.h"
#include "windows/CheckBox.h"
#include "windows/Label.h"
#include "windows/PushButton.h"
#include "windows/Slider.h"
#include "windows/Timer.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <variant>

namespace {

// A reader of stored design records of its own, so that the check does not lean on the
// writer: it walks key, blank and value, taking each value's width from the declared type of
// the property the key names in the object's class.
struct ReadProperty {
    std::string key;
    const PropertyInfo* property;
    PropertyValue value;
};

struct ReadDesign {
    std::vector<ReadProperty> properties;
    // Empty when the records fill the record's length exactly.
    std::string fault;
};

uint64_t littleEndian(const std::string& bytes, size_t at, size_t width)
{
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

ReadDesign readDesign(const DesignRecord& design, const ClassRecord& kind)
{
    ReadDesign result;
    const std::string& bytes = design.bytes();
    const size_t end = 1 + design.length();
    size_t at = 1;
    auto fail = [&](const std::string& why) {
        result.fault = why + " at byte " + std::to_string(at);
        return result;
    };
    while (at < end) {
        const size_t blank = bytes.find(' ', at);
        if (blank == std::string::npos || blank >= end)
            return fail("a key without its blank");
        const std::string key = bytes.substr(at, blank - at);
        const PropertyInfo* property = kind.findProperty(key);
        if (!property)
            return fail("the key \"" + key + "\" names no property");
        at = blank + 1;
        auto take = [&](size_t width) -> std::optional<uint64_t> {
            if (at + width > end)
                return std::nullopt;
            uint64_t value = littleEndian(bytes, at, width);
            at += width;
            return value;
        };
        std::optional<uint64_t> raw;
        PropertyValue value;
        switch (property->type) {
        case PropertyType::Integer:
            if ((raw = take(8)))
                value = static_cast<int64_t>(*raw);
            break;
        case PropertyType::Boolean:
            if ((raw = take(1)) && *raw > 1)
                return fail("the Boolean of \"" + key + "\" is neither 0 nor 1");
            if (raw)
                value = *raw == 1;
            break;
        case PropertyType::Single:
            if ((raw = take(4))) {
                const auto bits = static_cast<uint32_t>(*raw);
                float single;
                std::memcpy(&single, &bits, sizeof single);
                value = single;
            }
            break;
        case PropertyType::Color:
            if ((raw = take(4)) && (*raw >> 24) != 0)
                return fail("the colour of \"" + key + "\" has a top byte");
            if (raw)
                value = Color { static_cast<uint32_t>(*raw) };
            break;
        case PropertyType::FontUnit:
            if ((raw = take(1)))
                value = FontUnit { static_cast<uint8_t>(*raw) };
            break;
        case PropertyType::String:
            if ((raw = take(4))) {
                if (at + *raw > end)
                    return fail("the text of \"" + key + "\" runs past the record");
                value = bytes.substr(at, *raw);
                at += *raw;
            }
            break;
        }
        if (!raw)
            return fail("the value of \"" + key + "\" runs past the record");
        result.properties.push_back({ key, property, value });
    }
    return result;
}

struct DesignCase {
    const char* name;
    const DesignRecord& (*design)();
    const ClassRecord& kind;
    size_t records;
    // The control's name where its design names it; none for windows and timers.
    const char* controlName;
};

constexpr size_t kWindowRecords = 22, kLabelRecords = 32, kButtonRecords = 29, kCheckBoxRecords = 30,
                 kSliderRecords = 26, kCanvasRecords = 24, kTimerRecords = 2;

std::vector<DesignCase> allDesigns()
{
    return {
        { "wFlag", &wFlagDesign, wFlag::staticClassRecord(), kWindowRecords, nullptr },
        { "cnvGround", &cnvGroundDesign, Canvas::staticClassRecord(), kCanvasRecords, "cnvGround" },
        { "cnvSky", &cnvSkyDesign, Canvas::staticClassRecord(), kCanvasRecords, "cnvSky" },
        { "TimerFlag", &TimerFlagDesign, _wrapper_TimerFlag::staticClassRecord(), kTimerRecords, nullptr },
        { "wPanel", &wPanelDesign, wPanel::staticClassRecord(), kWindowRecords, nullptr },
        { "SizeSlider", &SizeSliderDesign, Slider::staticClassRecord(), kSliderRecords, "SizeSlider" },
        { "StaticText1", &StaticText1Design, Label::staticClassRecord(), kLabelRecords, "StaticText1" },
        { "SpeedSlider", &SpeedSliderDesign, Slider::staticClassRecord(), kSliderRecords, "SpeedSlider" },
        { "StaticText2", &StaticText2Design, Label::staticClassRecord(), kLabelRecords, "StaticText2" },
        { "CheckBoxM", &CheckBoxMDesign, CheckBox::staticClassRecord(), kCheckBoxRecords, "CheckBoxM" },
        { "VolumeSlider", &VolumeSliderDesign, Slider::staticClassRecord(), kSliderRecords, "VolumeSlider" },
        { "StaticText3", &StaticText3Design, Label::staticClassRecord(), kLabelRecords, "StaticText3" },
        { "IdleTimer", &IdleTimerDesign, _wrapper_IdleTimer::staticClassRecord(), kTimerRecords, nullptr },
        { "CheckBoxGlory", &CheckBoxGloryDesign, CheckBox::staticClassRecord(), kCheckBoxRecords, "CheckBoxGlory" },
        { "CheckBoxLoop", &CheckBoxLoopDesign, CheckBox::staticClassRecord(), kCheckBoxRecords, "CheckBoxLoop" },
        { "wAbout", &wAboutDesign, wAbout::staticClassRecord(), kWindowRecords, nullptr },
        { "sTextURL", &sTextURLDesign, Label::staticClassRecord(), kLabelRecords, "sTextURL" },
        { "bWeb", &bWebDesign, PushButton::staticClassRecord(), kButtonRecords, "bWeb" },
        { "bMail", &bMailDesign, PushButton::staticClassRecord(), kButtonRecords, "bMail" },
        { "bRtn", &bRtnDesign, PushButton::staticClassRecord(), kButtonRecords, "bRtn" },
        { "sTextMail", &sTextMailDesign, Label::staticClassRecord(), kLabelRecords, "sTextMail" },
        { "sTextIntro", &sTextIntroDesign, Label::staticClassRecord(), kLabelRecords, "sTextIntro" },
        { "sTextAuth", &sTextAuthDesign, Label::staticClassRecord(), kLabelRecords, "sTextAuth" },
    };
}

const PropertyValue* valueOf(const ReadDesign& design, const std::string& key)
{
    for (const ReadProperty& property : design.properties) {
        if (property.key == key)
            return &property.value;
    }
    return nullptr;
}

TEST(DesignRecords, EachIsUsedUpExactlyByItsPropertyRecords)
{
    const std::vector<DesignCase> designs = allDesigns();
    EXPECT_EQ(designs.size(), 23u) << "three windows and twenty controls";
    for (const DesignCase& c : designs) {
        SCOPED_TRACE(c.name);
        const DesignRecord& design = c.design();
        const std::string& bytes = design.bytes();
        const uint32_t length = design.length();
        ASSERT_EQ(bytes.size(), length + 2u) << "length byte, records, trailing zero";
        EXPECT_EQ(static_cast<uint8_t>(bytes.front()), length >= 255 ? 0xFF : length);
        EXPECT_EQ(bytes.back(), '\0');

        const ReadDesign records = readDesign(design, c.kind);
        EXPECT_EQ(records.fault, "");
        EXPECT_EQ(records.properties.size(), c.records);
        for (const ReadProperty& property : records.properties) {
            // Keys name their properties exactly, but for these two that match without regard to case.
            if (property.key == "MacProcID" || property.key == "Multiline") {
                EXPECT_NE(property.property->name, property.key);
            } else {
                EXPECT_EQ(property.property->name, property.key);
            }
        }
        if (c.controlName) {
            EXPECT_EQ(valueOf(records, "Name") ? *valueOf(records, "Name") : PropertyValue {}, PropertyValue { std::string(c.controlName) });
            EXPECT_EQ(valueOf(records, "Index") ? *valueOf(records, "Index") : PropertyValue {}, PropertyValue { int64_t { -2147483648LL } })
                << "no control array";
        }
    }
}

// Each record keeps its keys in the order its kind's records give them.
TEST(DesignRecords, EachHoldsItsKeysInTheOrderOfItsKind)
{
    using Keys = std::vector<std::string>;
    const Keys window = { "Width", "Height", "MinimumWidth", "MinimumHeight", "MaximumWidth", "MaximumHeight", "Type",
                          "Title", "HasCloseButton", "HasMaximizeButton", "HasMinimizeButton", "HasFullScreenButton",
                          "Resizeable", "Composite", "MacProcID", "FullScreen", "DefaultLocation", "Visible",
                          "HasBackgroundColor", "BackgroundColor", "MenuBarVisible", "LiveResize" };
    const Keys canvas = { "Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop", "LockRight",
                          "LockBottom", "TabIndex", "TabPanelIndex", "TabStop", "AllowAutoDeactivate", "Enabled",
                          "Tooltip", "AllowFocusRing", "Visible", "AllowFocus", "AllowTabs", "Transparent",
                          "DoubleBuffer", "Transparent", "InitialParent" };
    const Keys panelSlider = { "InitialParent", "PageStep", "LineStep", "Value", "Visible", "Enabled", "TabStop",
                               "TabIndex", "TabPanelIndex", "LockBottom", "LockRight", "LockTop", "LockLeft",
                               "Height", "Width", "Top", "Left", "Index", "Name", "Transparent",
                               "AllowAutoDeactivate", "Tooltip", "MinimumValue", "MaximumValue",
                               "AllowLiveScrolling", "TickMarkStyle" };
    const Keys panelLabel = { "InitialParent", "DataField", "DataSource", "Underline", "Italic", "Bold",
                              "Transparent", "Selectable", "Visible", "Enabled", "Multiline", "TextColor",
                              "TabIndex", "TabPanelIndex", "LockBottom", "LockRight", "LockTop", "LockLeft",
                              "Height", "Width", "Top", "Left", "Index", "Name", "TabStop", "AllowAutoDeactivate",
                              "Tooltip", "TextAlignment", "Value", "FontName", "FontSize", "FontUnit" };
    const Keys panelCheckBox = { "InitialParent", "DataField", "DataSource", "Value", "Underline", "Italic", "Bold",
                                 "Visible", "Enabled", "Caption", "TabStop", "TabIndex", "TabPanelIndex",
                                 "LockBottom", "LockRight", "LockTop", "LockLeft", "Height", "Width", "Top", "Left",
                                 "Index", "Name", "Transparent", "AllowAutoDeactivate", "Tooltip", "FontName",
                                 "FontSize", "FontUnit", "VisualState" };
    const Keys aboutLabel = { "InitialParent", "DataField", "DataSource", "FontUnit", "FontSize", "Underline",
                              "FontName", "Italic", "Bold", "Visible", "Value", "Transparent", "TextColor",
                              "TextAlignment", "Selectable", "Multiline", "Tooltip", "Enabled",
                              "AllowAutoDeactivate", "TabStop", "TabPanelIndex", "TabIndex", "LockBottom",
                              "LockRight", "LockTop", "LockLeft", "Height", "Width", "Top", "Left", "Index", "Name" };
    const Keys aboutButton = { "InitialParent", "Underline", "Italic", "Bold", "FontUnit", "FontSize", "FontName",
                               "Visible", "Transparent", "Tooltip", "Enabled", "Default", "Caption", "Cancel",
                               "MacButtonStyle", "AllowAutoDeactivate", "TabStop", "TabPanelIndex", "TabIndex",
                               "LockBottom", "LockRight", "LockTop", "LockLeft", "Height", "Width", "Top", "Left",
                               "Index", "Name" };
    const Keys flagTimer = { "RunMode", "Period" };
    const Keys idleTimer = { "Period", "RunMode" };
    const std::map<std::string, const Keys*> orders = {
        { "TimerFlag", &flagTimer }, { "IdleTimer", &idleTimer },
        { "wFlag", &window }, { "wPanel", &window }, { "wAbout", &window },
        { "cnvGround", &canvas }, { "cnvSky", &canvas },
        { "SizeSlider", &panelSlider }, { "SpeedSlider", &panelSlider }, { "VolumeSlider", &panelSlider },
        { "StaticText1", &panelLabel }, { "StaticText2", &panelLabel }, { "StaticText3", &panelLabel },
        { "CheckBoxM", &panelCheckBox }, { "CheckBoxGlory", &panelCheckBox }, { "CheckBoxLoop", &panelCheckBox },
        { "sTextURL", &aboutLabel }, { "sTextMail", &aboutLabel }, { "sTextIntro", &aboutLabel }, { "sTextAuth", &aboutLabel },
        { "bWeb", &aboutButton }, { "bMail", &aboutButton }, { "bRtn", &aboutButton },
    };
    for (const DesignCase& c : allDesigns()) {
        SCOPED_TRACE(c.name);
        Keys keys;
        for (const ReadProperty& property : readDesign(c.design(), c.kind).properties)
            keys.push_back(property.key);
        EXPECT_EQ(keys, *orders.at(c.name));
    }
}

TEST(DesignRecords, TheTwoTimerRecordsHoldTheSameValuesInEitherOrder)
{
    const ReadDesign flag = readDesign(TimerFlagDesign(), Timer::staticClassRecord());
    const ReadDesign idle = readDesign(IdleTimerDesign(), Timer::staticClassRecord());
    ASSERT_EQ(flag.properties.size(), 2u);
    ASSERT_EQ(idle.properties.size(), 2u);
    EXPECT_EQ(TimerFlagDesign().length(), 31u);
    EXPECT_EQ(static_cast<uint8_t>(TimerFlagDesign().bytes()[0]), 0x1F);
    EXPECT_EQ(IdleTimerDesign().length(), 31u);
    EXPECT_EQ(static_cast<uint8_t>(IdleTimerDesign().bytes()[0]), 0x1F);
    EXPECT_EQ(flag.properties[0].key, "RunMode");
    EXPECT_EQ(idle.properties[0].key, "Period");
    for (const ReadDesign* timer : { &flag, &idle }) {
        EXPECT_EQ(*valueOf(*timer, "Period"), PropertyValue { int64_t { 1000 } });
        EXPECT_EQ(*valueOf(*timer, "RunMode"), PropertyValue { int64_t { 2 } });
    }

    for (auto design : { &TimerFlagDesign, &IdleTimerDesign }) {
        Ref<Timer> timer = makeRef<Timer>();
        RuntimeMassPropertySetter(*timer, design());
        EXPECT_EQ(timer->Period(), 1000);
        EXPECT_EQ(timer->Mode(), Timer::kRepeating);
    }
}

TEST(SliderDesigns, EachSliderEndsWithItsRecordsValueThoughTheValueComesBeforeTheRange)
{
    struct Case {
        const char* name;
        const DesignRecord& (*design)();
        int64_t minimum, maximum, value, lineStep, pageStep;
        bool live;
    };
    const Case cases[] = {
        { "SizeSlider", &SizeSliderDesign, 180, 1440, 720, 30, 90, true },
        { "SpeedSlider", &SpeedSliderDesign, 1, 6, 4, 1, 1, false },
        { "VolumeSlider", &VolumeSliderDesign, 0, 100, 30, 5, 10, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Slider> slider = makeRef<Slider>();
        slider->Constructor();
        RuntimeMassPropertySetter(*slider, c.design());
        EXPECT_EQ(slider->MinimumValue(), c.minimum);
        EXPECT_EQ(slider->MaximumValue(), c.maximum);
        EXPECT_EQ(slider->Value(), c.value);
        EXPECT_EQ(slider->LineStep(), c.lineStep);
        EXPECT_EQ(slider->PageStep(), c.pageStep);
        EXPECT_EQ(slider->AllowLiveScrolling(), c.live);
        auto* shown = qobject_cast<QSlider*>(slider->widget());
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->minimum(), c.minimum);
        EXPECT_EQ(shown->maximum(), c.maximum);
        EXPECT_EQ(shown->value(), c.value);
    }
}

TEST(WindowDesigns, EachWindowHoldsItsDesignOnceBuilt)
{
    struct Case {
        const char* className;
        const char* title;
        // None where launch sizes the window from the Size setting.
        std::optional<std::pair<int64_t, int64_t>> size;
        int64_t minimumWidth, minimumHeight, maximumWidth, maximumHeight;
        int64_t type;
        bool resizeable, hasMaximizeButton, liveResize;
        int64_t defaultLocation;
    };
    const Case cases[] = {
        { "wFlag.wFlag", "Beautiful!   Flag of Tarnia", std::nullopt, 180, 120, 6000, 4000, 0, true, true, true, 0 },
        { "wPanel.wPanel", "Flag show and Music Volume", std::pair { 222, 135 }, 64, 64, 32000, 32000, 3, false, false, false, 2 },
        { "wAbout.wAbout", "About this software", std::pair { 447, 225 }, 64, 64, 32000, 32000, 0, false, false, false, 0 },
    };
    test::launchApplication();
    (void)wAbout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        Ref<Window> window = RuntimeGetImplicitWindow(c.className);
        ASSERT_TRUE(window);
        EXPECT_EQ(window->Title(), c.title);
        EXPECT_EQ(window->qtWidget()->windowTitle().toStdString(), c.title);
        if (c.size) {
            EXPECT_EQ(window->Width(), c.size->first);
            EXPECT_EQ(window->Height(), c.size->second);
        }
        EXPECT_EQ(window->MinimumWidth(), c.minimumWidth);
        EXPECT_EQ(window->MinimumHeight(), c.minimumHeight);
        EXPECT_EQ(window->MaximumWidth(), c.maximumWidth);
        EXPECT_EQ(window->MaximumHeight(), c.maximumHeight);
        EXPECT_EQ(window->Type(), c.type);
        EXPECT_EQ(window->Resizeable(), c.resizeable);
        EXPECT_EQ(window->HasMaximizeButton(), c.hasMaximizeButton);
        EXPECT_EQ(window->LiveResize(), c.liveResize);
        EXPECT_EQ(window->DefaultLocation(), c.defaultLocation);
        EXPECT_TRUE(window->HasCloseButton());
        EXPECT_TRUE(window->HasMinimizeButton());
        EXPECT_FALSE(window->HasFullScreenButton());
        EXPECT_FALSE(window->FullScreen());
        EXPECT_FALSE(window->Composite());
        EXPECT_EQ(window->MacProcId(), 0);
        EXPECT_FALSE(window->HasBackgroundColor());
        EXPECT_EQ(window->BackgroundColor(), Color { 0xFFFFFF });
        EXPECT_TRUE(window->MenuBarVisible());
        EXPECT_TRUE(window->Visible()) << "shown as it is built";
    }
}

TEST(ControlDesigns, EachControlHoldsItsPlaceAndFocusOrder)
{
    struct Case {
        const char* window;
        const char* name;
        int64_t left, top, width, height, tabIndex;
        bool transparent;
    };
    const Case cases[] = {
        { "wPanel.wPanel", "SizeSlider", 78, 40, 122, 16, 0, true },
        { "wPanel.wPanel", "StaticText1", 22, 36, 28, 20, 1, false },
        { "wPanel.wPanel", "SpeedSlider", 78, 15, 122, 16, 2, true },
        { "wPanel.wPanel", "StaticText2", 12, 11, 47, 20, 3, false },
        { "wPanel.wPanel", "CheckBoxM", 12, 75, 75, 20, 4, true },
        { "wPanel.wPanel", "VolumeSlider", 78, 99, 123, 16, 5, true },
        { "wPanel.wPanel", "StaticText3", 8, 95, 58, 20, 6, false },
        { "wPanel.wPanel", "CheckBoxGlory", 12, 55, 100, 20, 7, true },
        { "wPanel.wPanel", "CheckBoxLoop", 124, 75, 75, 20, 8, true },
        { "wAbout.wAbout", "sTextURL", 33, 117, 224, 31, 0, false },
        { "wAbout.wAbout", "bWeb", 286, 126, 109, 20, 1, true },
        { "wAbout.wAbout", "bMail", 286, 158, 109, 20, 2, true },
        { "wAbout.wAbout", "bRtn", 286, 190, 109, 20, 3, true },
        { "wAbout.wAbout", "sTextMail", 48, 149, 218, 67, 4, false },
        { "wAbout.wAbout", "sTextIntro", 28, 7, 385, 47, 5, false },
        { "wAbout.wAbout", "sTextAuth", 20, 61, 407, 56, 6, false },
    };
    test::launchApplication();
    (void)wAbout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<RectControl> control = RuntimeCheckCast<RectControl>(RuntimeGetImplicitWindow(c.window)->_ControlByName(c.name));
        ASSERT_TRUE(control);
        EXPECT_EQ(control->Name(), c.name);
        EXPECT_EQ(control->Index(), -2147483648LL);
        EXPECT_EQ(control->InitialParent(), "");
        EXPECT_EQ(control->Left(), c.left);
        EXPECT_EQ(control->Top(), c.top);
        EXPECT_EQ(control->Width(), c.width);
        EXPECT_EQ(control->Height(), c.height);
        EXPECT_EQ(control->widget()->geometry(), QRect(int(c.left), int(c.top), int(c.width), int(c.height)));
        EXPECT_EQ(control->TabIndex(), c.tabIndex);
        EXPECT_EQ(control->Transparent(), c.transparent);
        EXPECT_TRUE(control->TabStop());
        EXPECT_TRUE(control->Enabled());
        EXPECT_TRUE(control->Visible());
        EXPECT_EQ(control->Tooltip(), "");
        const bool lockedTopLeft = std::string(c.name) == "CheckBoxGlory";
        EXPECT_EQ(control->LockLeft(), lockedTopLeft);
        EXPECT_EQ(control->LockTop(), lockedTopLeft);
        EXPECT_FALSE(control->LockRight());
        EXPECT_FALSE(control->LockBottom());
    }
}

TEST(ControlDesigns, LabelsShowTheirTextWithEachCarriageReturnAsALineBreak)
{
    struct Case {
        const char* window;
        const char* name;
        const char* text;
        const char* shown;
        int64_t alignment;
        bool multiline;
        const char* fontName;
        float fontSize;
    };
    const Case cases[] = {
        { "wPanel.wPanel", "StaticText1", "Size", "Size", 3, false, "System", 0.0f },
        { "wPanel.wPanel", "StaticText2", "Speed", "Speed", 3, false, "System", 0.0f },
        { "wPanel.wPanel", "StaticText3", "Volume", "Volume", 3, false, "System", 0.0f },
        { "wAbout.wAbout", "sTextURL", "https://www.corvala.example/", "https://www.corvala.example/", 2, false, "Arial", 24.0f },
        { "wAbout.wAbout", "sTextMail",
          "Any suggestion? \rPlease contact with the author.\rE-mail: author@corvala.example",
          "Any suggestion? \nPlease contact with the author.\nE-mail: author@corvala.example", 2, true, "System", 0.0f },
        { "wAbout.wAbout", "sTextIntro",
          "Flag of Tarnia\rOriginal design by Orvanel  (Feb 21, 1895)\r",
          "Flag of Tarnia\nOriginal design by Orvanel  (Feb 21, 1895)\n", 2, true, "System", 0.0f },
        { "wAbout.wAbout", "sTextAuth",
          "This software is written by one who lives in Global Villiage.\rVersion 1.7.0  (Oct 10, 2019)",
          "This software is written by one who lives in Global Villiage.\nVersion 1.7.0  (Oct 10, 2019)", 2, true, "System", 0.0f },
    };
    test::launchApplication();
    (void)wAbout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Label> label = RuntimeCheckCast<Label>(RuntimeGetImplicitWindow(c.window)->_ControlByName(c.name));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->Value(), c.text) << "the text keeps its carriage returns";
        EXPECT_EQ(label->TextAlignment(), c.alignment);
        EXPECT_EQ(label->MultiLine(), c.multiline);
        EXPECT_EQ(label->FontName(), c.fontName);
        EXPECT_EQ(label->FontSize(), c.fontSize);
        EXPECT_EQ(label->TextColor(), Color { 0x000000 });
        EXPECT_FALSE(label->Selectable());
        auto* shown = qobject_cast<QLabel*>(label->widget());
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->text().toStdString(), c.shown);
        EXPECT_EQ(shown->wordWrap(), c.multiline);
        EXPECT_EQ(shown->alignment() & Qt::AlignHorizontal_Mask, c.alignment == 2 ? Qt::AlignHCenter : Qt::AlignRight);
    }
}

TEST(ControlDesigns, ButtonsAndBoxesShowTheirCaptionsAndOKIsTheDefaultButton)
{
    test::launchApplication();
    (void)wAbout();
    const std::tuple<const char*, const char*, bool> buttons[] = {
        { "bWeb", "Visit web site", false }, { "bMail", "Send a mail", false }, { "bRtn", "OK", true },
    };
    for (const auto& [name, caption, isDefault] : buttons) {
        SCOPED_TRACE(name);
        Ref<PushButton> button = RuntimeCheckCast<PushButton>(wAbout()->_ControlByName(name));
        EXPECT_EQ(button->Caption(), caption);
        EXPECT_EQ(button->Default(), isDefault);
        EXPECT_FALSE(button->Cancel());
        auto* shown = qobject_cast<QPushButton*>(button->widget());
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->text().toStdString(), caption);
        EXPECT_EQ(shown->isDefault(), isDefault);
    }
    // The Music box is ticked by its design and by the song's start alike.
    const std::tuple<const char*, const char*, bool> boxes[] = {
        { "CheckBoxM", "Music", true }, { "CheckBoxGlory", "Glory", false }, { "CheckBoxLoop", "Loop", false },
    };
    for (const auto& [name, caption, ticked] : boxes) {
        SCOPED_TRACE(name);
        Ref<CheckBox> box = RuntimeCheckCast<CheckBox>(wPanel()->_ControlByName(name));
        EXPECT_EQ(box->Caption(), caption);
        EXPECT_EQ(box->Value(), ticked);
        EXPECT_EQ(box->VisualState(), ticked ? CheckBox::kTicked : CheckBox::kClear);
        auto* shown = qobject_cast<QCheckBox*>(box->widget());
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->text().toStdString(), caption);
        EXPECT_EQ(shown->isChecked(), ticked);
    }
}

TEST(ControlDesigns, TheCantonCanvasLiesInsideTheGroundCanvas)
{
    test::launchApplication();
    Ref<Canvas> ground = wFlag()->cnvGround();
    Ref<Canvas> sky = wFlag()->cnvSky();
    EXPECT_EQ(ground->InitialParent(), "");
    EXPECT_EQ(sky->InitialParent(), "cnvGround");
    EXPECT_EQ(ground->widget()->parentWidget(), wFlag()->contentWidget());
    EXPECT_EQ(sky->widget()->parentWidget(), ground->widget());
    for (const Ref<Canvas>& canvas : { ground, sky }) {
        EXPECT_TRUE(canvas->Transparent());
        EXPECT_FALSE(canvas->AllowFocus());
        EXPECT_FALSE(canvas->AllowTabs());
        EXPECT_TRUE(canvas->AllowFocusRing());
        EXPECT_FALSE(canvas->DoubleBuffer());
    }
    EXPECT_EQ(wFlag()->TimerFlag()->Mode(), Timer::kRepeating);
    EXPECT_EQ(wPanel()->IdleTimer()->Mode(), Timer::kRepeating);
    EXPECT_EQ(wPanel()->IdleTimer()->Period(), 1000);
}

TEST(WindowAccessors, ASecondReferenceFindsTheOpenWindow)
{
    test::launchApplication();
    const std::pair<const char*, Ref<Window> (*)()> accessors[] = {
        { "wFlag.wFlag", [] { return Ref<Window>(wFlag()); } },
        { "wPanel.wPanel", [] { return Ref<Window>(wPanel()); } },
        { "wAbout.wAbout", [] { return Ref<Window>(wAbout()); } },
    };
    for (const auto& [className, accessor] : accessors) {
        SCOPED_TRACE(className);
        Ref<Window> first = accessor();
        EXPECT_EQ(accessor(), first);
        EXPECT_EQ(RuntimeGetImplicitWindow(className), first);
    }
}

} // namespace
