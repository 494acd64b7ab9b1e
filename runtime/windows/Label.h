#pragma once

#include "windows/FontControl.h"

#include <cstdint>
#include <string>

// Static text on a window.
class Label : public FontControl {
    RUNTIME_OBJECT(Label)
public:
    Label();

    // The text; a carriage return (0x0D) shows as a line break and stays in the text.
    const std::string& Value() const { return m_value; }
    void Value(const std::string& text);
    // The text wraps onto several lines (design key "Multiline").
    bool MultiLine() const { return m_multiLine; }
    void MultiLine(bool multiLine);
    // Horizontal alignment: 2 centred, 3 right, any other value left.
    int64_t TextAlignment() const { return m_textAlignment; }
    void TextAlignment(int64_t alignment);
    ::Color TextColor() const { return m_textColor; }
    void TextColor(::Color color);
    // The user may select the text with the mouse.
    bool Selectable() const { return m_selectable; }
    void Selectable(bool selectable);

private:
    void applyAlignment();

    std::string m_value;
    bool m_multiLine = false;
    int64_t m_textAlignment = 0;
    ::Color m_textColor { 0x000000 };
    bool m_selectable = false;
};
