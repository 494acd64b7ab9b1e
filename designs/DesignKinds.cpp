#include "DesignKinds.h"

namespace {

constexpr Color kWhite { 0xFFFFFF };
constexpr Color kBlack { 0x000000 };

} // namespace

DesignRecord windowDesign(const WindowDesignValues& v)
{
    return DesignRecord({
        { "Width", v.width },
        { "Height", v.height },
        { "MinimumWidth", v.minimumWidth },
        { "MinimumHeight", v.minimumHeight },
        { "MaximumWidth", v.maximumWidth },
        { "MaximumHeight", v.maximumHeight },
        { "Type", v.type },
        { "Title", v.title },
        { "HasCloseButton", true },
        { "HasMaximizeButton", v.hasMaximizeButton },
        { "HasMinimizeButton", true },
        { "HasFullScreenButton", false },
        { "Resizeable", v.resizeable },
        { "Composite", false },
        { "MacProcID", 0 },
        { "FullScreen", false },
        { "DefaultLocation", v.defaultLocation },
        { "Visible", true },
        { "HasBackgroundColor", false },
        { "BackgroundColor", kWhite },
        { "MenuBarVisible", true },
        { "LiveResize", v.liveResize },
    });
}

DesignRecord canvasDesign(const CanvasDesignValues& v)
{
    const ControlPlace& p = v.place;
    return DesignRecord({
        { "Name", p.name },
        { "Index", kNoControlSet },
        { "Left", p.left },
        { "Top", p.top },
        { "Width", p.width },
        { "Height", p.height },
        { "LockLeft", false },
        { "LockTop", false },
        { "LockRight", false },
        { "LockBottom", false },
        { "TabIndex", p.tabIndex },
        { "TabPanelIndex", 0 },
        { "TabStop", true },
        { "AllowAutoDeactivate", true },
        { "Enabled", true },
        { "Tooltip", "" },
        { "AllowFocusRing", true },
        { "Visible", true },
        { "AllowFocus", false },
        { "AllowTabs", false },
        { "Transparent", true },
        { "DoubleBuffer", false },
        { "Transparent", true },
        { "InitialParent", v.initialParent },
    });
}

DesignRecord sliderDesign(const SliderDesignValues& v)
{
    const ControlPlace& p = v.place;
    return DesignRecord({
        { "InitialParent", "" },
        { "PageStep", v.pageStep },
        { "LineStep", v.lineStep },
        { "Value", v.value },
        { "Visible", true },
        { "Enabled", true },
        { "TabStop", true },
        { "TabIndex", p.tabIndex },
        { "TabPanelIndex", 0 },
        { "LockBottom", false },
        { "LockRight", false },
        { "LockTop", false },
        { "LockLeft", false },
        { "Height", p.height },
        { "Width", p.width },
        { "Top", p.top },
        { "Left", p.left },
        { "Index", kNoControlSet },
        { "Name", p.name },
        { "Transparent", true },
        { "AllowAutoDeactivate", true },
        { "Tooltip", "" },
        { "MinimumValue", v.minimumValue },
        { "MaximumValue", v.maximumValue },
        { "AllowLiveScrolling", v.allowLiveScrolling },
        { "TickMarkStyle", 0 },
    });
}

DesignRecord checkBoxDesign(const CheckBoxDesignValues& v)
{
    const ControlPlace& p = v.place;
    return DesignRecord({
        { "InitialParent", "" },
        { "DataField", "" },
        { "DataSource", "" },
        { "Value", v.value },
        { "Underline", false },
        { "Italic", false },
        { "Bold", false },
        { "Visible", true },
        { "Enabled", true },
        { "Caption", v.caption },
        { "TabStop", true },
        { "TabIndex", p.tabIndex },
        { "TabPanelIndex", 0 },
        { "LockBottom", false },
        { "LockRight", false },
        { "LockTop", v.lockLeftAndTop },
        { "LockLeft", v.lockLeftAndTop },
        { "Height", p.height },
        { "Width", p.width },
        { "Top", p.top },
        { "Left", p.left },
        { "Index", kNoControlSet },
        { "Name", p.name },
        { "Transparent", true },
        { "AllowAutoDeactivate", true },
        { "Tooltip", "" },
        { "FontName", "System" },
        { "FontSize", 0.0f },
        { "FontUnit", FontUnit { 0 } },
        { "VisualState", int64_t { v.value ? 1 : 0 } },
    });
}

DesignRecord panelLabelDesign(const LabelDesignValues& v)
{
    const ControlPlace& p = v.place;
    return DesignRecord({
        { "InitialParent", "" },
        { "DataField", "" },
        { "DataSource", "" },
        { "Underline", false },
        { "Italic", false },
        { "Bold", false },
        { "Transparent", false },
        { "Selectable", false },
        { "Visible", true },
        { "Enabled", true },
        { "Multiline", v.multiline },
        { "TextColor", kBlack },
        { "TabIndex", p.tabIndex },
        { "TabPanelIndex", 0 },
        { "LockBottom", false },
        { "LockRight", false },
        { "LockTop", false },
        { "LockLeft", false },
        { "Height", p.height },
        { "Width", p.width },
        { "Top", p.top },
        { "Left", p.left },
        { "Index", kNoControlSet },
        { "Name", p.name },
        { "TabStop", true },
        { "AllowAutoDeactivate", true },
        { "Tooltip", "" },
        { "TextAlignment", v.textAlignment },
        { "Value", v.text },
        { "FontName", v.fontName },
        { "FontSize", v.fontSize },
        { "FontUnit", FontUnit { 0 } },
    });
}

DesignRecord aboutLabelDesign(const LabelDesignValues& v)
{
    const ControlPlace& p = v.place;
    return DesignRecord({
        { "InitialParent", "" },
        { "DataField", "" },
        { "DataSource", "" },
        { "FontUnit", FontUnit { 0 } },
        { "FontSize", v.fontSize },
        { "Underline", false },
        { "FontName", v.fontName },
        { "Italic", false },
        { "Bold", false },
        { "Visible", true },
        { "Value", v.text },
        { "Transparent", false },
        { "TextColor", kBlack },
        { "TextAlignment", v.textAlignment },
        { "Selectable", false },
        { "Multiline", v.multiline },
        { "Tooltip", "" },
        { "Enabled", true },
        { "AllowAutoDeactivate", true },
        { "TabStop", true },
        { "TabPanelIndex", 0 },
        { "TabIndex", p.tabIndex },
        { "LockBottom", false },
        { "LockRight", false },
        { "LockTop", false },
        { "LockLeft", false },
        { "Height", p.height },
        { "Width", p.width },
        { "Top", p.top },
        { "Left", p.left },
        { "Index", kNoControlSet },
        { "Name", p.name },
    });
}

DesignRecord pushButtonDesign(const PushButtonDesignValues& v)
{
    const ControlPlace& p = v.place;
    return DesignRecord({
        { "InitialParent", "" },
        { "Underline", false },
        { "Italic", false },
        { "Bold", false },
        { "FontUnit", FontUnit { 0 } },
        { "FontSize", 0.0f },
        { "FontName", "System" },
        { "Visible", true },
        { "Transparent", true },
        { "Tooltip", "" },
        { "Enabled", true },
        { "Default", v.isDefault },
        { "Caption", v.caption },
        { "Cancel", false },
        { "MacButtonStyle", 0 },
        { "AllowAutoDeactivate", true },
        { "TabStop", true },
        { "TabPanelIndex", 0 },
        { "TabIndex", p.tabIndex },
        { "LockBottom", false },
        { "LockRight", false },
        { "LockTop", false },
        { "LockLeft", false },
        { "Height", p.height },
        { "Width", p.width },
        { "Top", p.top },
        { "Left", p.left },
        { "Index", kNoControlSet },
        { "Name", p.name },
    });
}
