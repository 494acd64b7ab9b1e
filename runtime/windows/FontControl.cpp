#include "windows/FontControl.h"

#include "qt/QtSupport.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

namespace {

enum FontUnits : uint8_t { kDefaultUnit = 0, kPixel = 1, kPoint = 2, kInch = 3, kMillimetre = 4 };

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;

} // namespace

void FontControl::FontName(const std::string& name)
{
    m_fontName = name;
    applyFont();
}

void FontControl::FontSize(float size)
{
    m_fontSize = size;
    applyFont();
}

void FontControl::FontUnit(::FontUnit unit)
{
    m_fontUnit = unit;
    applyFont();
}

void FontControl::Bold(bool bold)
{
    m_bold = bold;
    applyFont();
}

void FontControl::Italic(bool italic)
{
    m_italic = italic;
    applyFont();
}

void FontControl::Underline(bool underline)
{
    m_underline = underline;
    applyFont();
}

void FontControl::applyFont()
{
    QWidget* widget = this->widget();
    if (!widget)
        return;
    QFont font = QApplication::font(widget);
    if (!m_fontName.empty() && m_fontName != "System")
        font.setFamily(toQString(m_fontName));
    if (m_fontSize > 0.0f) {
        switch (m_fontUnit.value) {
        case kPixel:
            font.setPixelSize(std::max(1, roundToQtInt(m_fontSize)));
            break;
        case kInch:
            font.setPointSizeF(m_fontSize * kPointsPerInch);
            break;
        case kMillimetre:
            font.setPointSizeF(m_fontSize * kPointsPerInch / kMillimetresPerInch);
            break;
        case kDefaultUnit:
        case kPoint:
        default:
            font.setPointSizeF(m_fontSize);
            break;
        }
    }
    font.setBold(m_bold);
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    widget->setFont(font);
}
