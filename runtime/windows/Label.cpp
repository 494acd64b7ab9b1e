#include "windows/Label.h"

#include "qt/QtSupport.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

constexpr int64_t kAlignCentre = 2;
constexpr int64_t kAlignRight = 3;

constexpr qreal kSmallestFittedPointSize = 6.0;

// A QLabel that shows a single line too long for it in a smaller size rather than cut off.
class LabelWidget : public QLabel {
protected:
    void paintEvent(QPaintEvent* event) override
    {
        const int needed = fontMetrics().horizontalAdvance(text());
        const int room = contentsRect().width();
        if (wordWrap() || needed <= room || font().pointSizeF() <= 0) {
            QLabel::paintEvent(event);
            return;
        }
        QFont fitted = font();
        fitted.setPointSizeF(std::max(kSmallestFittedPointSize, fitted.pointSizeF() * room / needed));
        QPainter painter(this);
        painter.setFont(fitted);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(contentsRect(), static_cast<int>(alignment()), text());
    }
};

QLabel* labelOf(QWidget* widget)
{
    return static_cast<QLabel*>(widget);
}

QString shownText(const std::string& text)
{
    QString shown = toQString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace

RUNTIME_CLASS_RECORD(Label, "Label", RectControl,
    property<Label>("Value", &Label::Value),
    property<Label>("MultiLine", &Label::MultiLine),
    property<Label>("TextAlignment", &Label::TextAlignment),
    property<Label>("TextColor", &Label::TextColor),
    property<Label>("Selectable", &Label::Selectable),
    ::storedProperty("DataField", PropertyType::String),
    ::storedProperty("DataSource", PropertyType::String),
    property<Label>("FontName", &Label::FontName),
    property<Label>("FontSize", &Label::FontSize),
    fontUnitProperty<Label>(),
    property<Label>("Bold", &Label::Bold),
    property<Label>("Italic", &Label::Italic),
    property<Label>("Underline", &Label::Underline))

Label::Label()
{
    auto* label = new LabelWidget;
    // The text is shown as it is: no rich text, no mnemonics.
    label->setTextFormat(Qt::PlainText);
    setWidget(label);
    applyAlignment();
    applyFont();
}

void Label::Value(const std::string& text)
{
    m_value = text;
    if (QWidget* widget = this->widget())
        labelOf(widget)->setText(shownText(text));
}

void Label::MultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    if (QWidget* widget = this->widget())
        labelOf(widget)->setWordWrap(multiLine);
    applyAlignment();
}

void Label::TextAlignment(int64_t alignment)
{
    m_textAlignment = alignment;
    applyAlignment();
}

void Label::applyAlignment()
{
    QWidget* widget = this->widget();
    if (!widget)
        return;
    Qt::Alignment alignment = m_textAlignment == kAlignCentre ? Qt::AlignHCenter
        : m_textAlignment == kAlignRight                      ? Qt::AlignRight
                                                              : Qt::AlignLeft;
    alignment |= m_multiLine ? Qt::AlignTop : Qt::AlignVCenter;
    labelOf(widget)->setAlignment(alignment);
}

void Label::TextColor(::Color color)
{
    m_textColor = color;
    if (QWidget* widget = this->widget()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, QColor::fromRgb(color.rgb));
        widget->setPalette(palette);
    }
}

void Label::Selectable(bool selectable)
{
    m_selectable = selectable;
    if (QWidget* widget = this->widget())
        labelOf(widget)->setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
}
