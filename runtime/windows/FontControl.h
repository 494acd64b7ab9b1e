#pragma once

#include "windows/RectControl.h"

#include <string>

// A visual control that shows text in a font of its own: the font properties shared by
// Label, PushButton and CheckBox.
class FontControl : public RectControl {
public:
    // The font's name; "System" (or empty) is the system's font.
    const std::string& FontName() const { return m_fontName; }
    void FontName(const std::string& name);
    // Size in FontUnit units; 0 is the system's size.
    float FontSize() const { return m_fontSize; }
    void FontSize(float size);
    // Unit of FontSize: 0 default (points), 1 pixels, 2 points, 3 inches, 4 millimetres.
    ::FontUnit FontUnit() const { return m_fontUnit; }
    void FontUnit(::FontUnit unit);
    bool Bold() const { return m_bold; }
    void Bold(bool bold);
    bool Italic() const { return m_italic; }
    void Italic(bool italic);
    bool Underline() const { return m_underline; }
    void Underline(bool underline);

protected:
    // Gives the widget the font the properties describe.
    void applyFont();

private:
    std::string m_fontName = "System";
    float m_fontSize = 0.0f;
    ::FontUnit m_fontUnit {};
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
};

// The FontUnit entry of a property table for class C (the one-byte font-unit type).
template<typename C>
PropertyInfo fontUnitProperty()
{
    return { "FontUnit", PropertyType::FontUnit,
             [](Object& object, const PropertyValue& value) { static_cast<C&>(object).FontUnit(std::get<::FontUnit>(value)); } };
}
