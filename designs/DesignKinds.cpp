#include "DesignKinds.h"

#include <map>
#include <vector>

namespace {

constexpr Color kWhite { 0xFFFFFF };
constexpr Color kBlack { 0x000000 };

using DesignValues = std::map<std::string, DesignValue>;

// The records of `values` in the order of `keys`; a key may stand twice.
DesignRecord inOrder(std::initializer_list<const char*> keys, const DesignValues& values)
{
    std::vector<DesignProperty> properties;
    for (const char* key : keys)
        properties.push_back({ key, values.at(key) });
    return DesignRecord(properties);
}

// The 19 properties every visual control's record holds.
DesignValues commonValues(const ControlPlace& p, bool transparent)
{
    return {
        { "Name", p.name }, { "Index", kNoControlSet }, { "InitialParent", "" },
        { "Left", p.left }, { "Top", p.top }, { "Width", p.width }, { "Height", p.height },
        { "LockLeft", false }, { "LockTop", false }, { "LockRight", false }, { "LockBottom", false },
        { "TabIndex", p.tabIndex }, { "TabStop", true }, { "TabPanelIndex", 0 },
        { "Enabled", true }, { "Visible", true }, { "Transparent", transparent }, { "Tooltip", "" },
        { "AllowAutoDeactivate", true },
    };
}

// The font properties of labels, buttons and check boxes.
void addFont(DesignValues& values, const char* fontName, float fontSize)
{
    values.insert_or_assign("FontName", fontName);
    values.insert_or_assign("FontSize", fontSize);
    values.insert_or_assign("FontUnit", FontUnit { 0 });
    values.insert_or_assign("Bold", false);
    values.insert_or_assign("Italic", false);
    values.insert_or_assign("Underline", false);
}

DesignValues labelValues(const LabelDesignValues& v)
{
    DesignValues values = commonValues(v.place, false);
    addFont(values, v.fontName, v.fontSize);
    values.insert_or_assign("Value", v.text);
    values.insert_or_assign("Multiline", v.multiline);
    values.insert_or_assign("TextAlignment", v.textAlignment);
    values.insert_or_assign("TextColor", kBlack);
    values.insert_or_assign("Selectable", false);
    values.insert_or_assign("DataField", "");
    values.insert_or_assign("DataSource", "");
    return values;
}

} // namespace

DesignRecord windowDesign(const WindowDesignValues& v)
{
    return inOrder({ "Width", "Height", "MinimumWidth", "MinimumHeight", "MaximumWidth", "MaximumHeight", "Type",
                     "Title", "HasCloseButton", "HasMaximizeButton", "HasMinimizeButton", "HasFullScreenButton",
                     "Resizeable", "Composite", "MacProcID", "FullScreen", "DefaultLocation", "Visible",
                     "HasBackgroundColor", "BackgroundColor", "MenuBarVisible", "LiveResize" },
        {
            { "Width", v.width }, { "Height", v.height },
            { "MinimumWidth", v.minimumWidth }, { "MinimumHeight", v.minimumHeight },
            { "MaximumWidth", v.maximumWidth }, { "MaximumHeight", v.maximumHeight },
            { "Type", v.type }, { "Title", v.title },
            { "HasCloseButton", true }, { "HasMaximizeButton", v.hasMaximizeButton },
            { "HasMinimizeButton", true }, { "HasFullScreenButton", false },
            { "Resizeable", v.resizeable }, { "Composite", false }, { "MacProcID", 0 }, { "FullScreen", false },
            { "DefaultLocation", v.defaultLocation }, { "Visible", true },
            { "HasBackgroundColor", false }, { "BackgroundColor", kWhite },
            { "MenuBarVisible", true }, { "LiveResize", v.liveResize },
        });
}

DesignRecord canvasDesign(const CanvasDesignValues& v)
{
    DesignValues values = commonValues(v.place, true);
    values.insert_or_assign("InitialParent", v.initialParent);
    values.insert_or_assign("AllowFocusRing", true);
    values.insert_or_assign("AllowFocus", false);
    values.insert_or_assign("AllowTabs", false);
    values.insert_or_assign("DoubleBuffer", false);
    return inOrder({ "Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop", "LockRight",
                     "LockBottom", "TabIndex", "TabPanelIndex", "TabStop", "AllowAutoDeactivate", "Enabled",
                     "Tooltip", "AllowFocusRing", "Visible", "AllowFocus", "AllowTabs", "Transparent",
                     "DoubleBuffer", "Transparent", "InitialParent" },
        values);
}

DesignRecord sliderDesign(const SliderDesignValues& v)
{
    DesignValues values = commonValues(v.place, true);
    values.insert_or_assign("MinimumValue", v.minimumValue);
    values.insert_or_assign("MaximumValue", v.maximumValue);
    values.insert_or_assign("Value", v.value);
    values.insert_or_assign("LineStep", v.lineStep);
    values.insert_or_assign("PageStep", v.pageStep);
    values.insert_or_assign("AllowLiveScrolling", v.allowLiveScrolling);
    values.insert_or_assign("TickMarkStyle", 0);
    return inOrder({ "InitialParent", "PageStep", "LineStep", "Value", "Visible", "Enabled", "TabStop", "TabIndex",
                     "TabPanelIndex", "LockBottom", "LockRight", "LockTop", "LockLeft", "Height", "Width", "Top",
                     "Left", "Index", "Name", "Transparent", "AllowAutoDeactivate", "Tooltip", "MinimumValue",
                     "MaximumValue", "AllowLiveScrolling", "TickMarkStyle" },
        values);
}

DesignRecord checkBoxDesign(const CheckBoxDesignValues& v)
{
    DesignValues values = commonValues(v.place, true);
    addFont(values, "System", 0.0f);
    values.insert_or_assign("Caption", v.caption);
    values.insert_or_assign("Value", v.value);
    values.insert_or_assign("VisualState", int64_t { v.value ? 1 : 0 });
    values.insert_or_assign("LockLeft", v.lockLeftAndTop);
    values.insert_or_assign("LockTop", v.lockLeftAndTop);
    values.insert_or_assign("DataField", "");
    values.insert_or_assign("DataSource", "");
    return inOrder({ "InitialParent", "DataField", "DataSource", "Value", "Underline", "Italic", "Bold", "Visible",
                     "Enabled", "Caption", "TabStop", "TabIndex", "TabPanelIndex", "LockBottom", "LockRight",
                     "LockTop", "LockLeft", "Height", "Width", "Top", "Left", "Index", "Name", "Transparent",
                     "AllowAutoDeactivate", "Tooltip", "FontName", "FontSize", "FontUnit", "VisualState" },
        values);
}

DesignRecord panelLabelDesign(const LabelDesignValues& v)
{
    return inOrder({ "InitialParent", "DataField", "DataSource", "Underline", "Italic", "Bold", "Transparent",
                     "Selectable", "Visible", "Enabled", "Multiline", "TextColor", "TabIndex", "TabPanelIndex",
                     "LockBottom", "LockRight", "LockTop", "LockLeft", "Height", "Width", "Top", "Left", "Index",
                     "Name", "TabStop", "AllowAutoDeactivate", "Tooltip", "TextAlignment", "Value", "FontName",
                     "FontSize", "FontUnit" },
        labelValues(v));
}

DesignRecord aboutLabelDesign(const LabelDesignValues& v)
{
    return inOrder({ "InitialParent", "DataField", "DataSource", "FontUnit", "FontSize", "Underline", "FontName",
                     "Italic", "Bold", "Visible", "Value", "Transparent", "TextColor", "TextAlignment", "Selectable",
                     "Multiline", "Tooltip", "Enabled", "AllowAutoDeactivate", "TabStop", "TabPanelIndex",
                     "TabIndex", "LockBottom", "LockRight", "LockTop", "LockLeft", "Height", "Width", "Top", "Left",
                     "Index", "Name" },
        labelValues(v));
}

DesignRecord pushButtonDesign(const PushButtonDesignValues& v)
{
    DesignValues values = commonValues(v.place, true);
    addFont(values, "System", 0.0f);
    values.insert_or_assign("Caption", v.caption);
    values.insert_or_assign("Default", v.isDefault);
    values.insert_or_assign("Cancel", false);
    values.insert_or_assign("MacButtonStyle", 0);
    return inOrder({ "InitialParent", "Underline", "Italic", "Bold", "FontUnit", "FontSize", "FontName", "Visible",
                     "Transparent", "Tooltip", "Enabled", "Default", "Caption", "Cancel", "MacButtonStyle",
                     "AllowAutoDeactivate", "TabStop", "TabPanelIndex", "TabIndex", "LockBottom", "LockRight",
                     "LockTop", "LockLeft", "Height", "Width", "Top", "Left", "Index", "Name" },
        values);
}
