#include "windows/Slider.h"

#include "qt/QtSupport.h"
#include "windows/Delegate.h"

#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace {

QSlider* sliderOf(QWidget* widget)
{
    return static_cast<QSlider*>(widget);
}

} // namespace

RUNTIME_CLASS_RECORD(Slider, "Slider", RectControl,
    property<Slider>("MinimumValue", &Slider::MinimumValue),
    property<Slider>("MaximumValue", &Slider::MaximumValue),
    property<Slider>("Value", &Slider::Value),
    property<Slider>("LineStep", &Slider::LineStep),
    property<Slider>("PageStep", &Slider::PageStep),
    property<Slider>("AllowLiveScrolling", &Slider::AllowLiveScrolling),
    property<Slider>("TickMarkStyle", &Slider::TickMarkStyle))

Slider::Slider()
{
    auto* slider = new QSlider(Qt::Horizontal);
    // Values from code are shown with the slider's signals blocked: what arrives is the user's.
    QObject::connect(slider, &QSlider::valueChanged, slider, [this](int value) { userMoved(value); });
    setWidget(slider);
    showValues();
}

bool Slider::raisesEvent(int64_t eventId) const
{
    return eventId == kSliderOpenEvent || eventId == kSliderValueChangedEvent;
}

void Slider::raiseOpen()
{
    raiseEvent(kSliderOpenEvent);
}

void Slider::designWillApply()
{
    m_applyingDesign = true;
}

void Slider::designDidApply()
{
    m_applyingDesign = false;
    keepValueInRange();
    showValues();
}

void Slider::MinimumValue(int64_t value)
{
    m_minimumValue = value;
    m_maximumValue = std::max(m_maximumValue, value);
    keepValueInRange();
    showValues();
}

void Slider::MaximumValue(int64_t value)
{
    m_maximumValue = value;
    m_minimumValue = std::min(m_minimumValue, value);
    keepValueInRange();
    showValues();
}

void Slider::Value(int64_t value)
{
    checkUIThread();
    if (!m_applyingDesign)
        value = std::clamp(value, m_minimumValue, m_maximumValue);
    if (value == m_value)
        return;
    m_value = value;
    showValues();
    if (!m_applyingDesign)
        raiseEvent(kSliderValueChangedEvent);
}

void Slider::keepValueInRange()
{
    if (m_applyingDesign)
        return;
    int64_t value = std::clamp(m_value, m_minimumValue, m_maximumValue);
    if (value == m_value)
        return;
    m_value = value;
    showValues();
    raiseEvent(kSliderValueChangedEvent);
}

void Slider::LineStep(int64_t step)
{
    m_lineStep = step;
    showValues();
}

void Slider::PageStep(int64_t step)
{
    m_pageStep = step;
    showValues();
}

void Slider::AllowLiveScrolling(bool live)
{
    m_allowLiveScrolling = live;
    showValues();
}

void Slider::TickMarkStyle(int64_t style)
{
    m_tickMarkStyle = style;
    showValues();
}

void Slider::showValues()
{
    QWidget* widget = this->widget();
    // Mid-design the value may lie outside the range, which Qt would clamp away.
    if (!widget || m_applyingDesign)
        return;
    QSlider* slider = sliderOf(widget);
    QSignalBlocker blocker(slider);
    slider->setRange(toQtInt(m_minimumValue), toQtInt(m_maximumValue));
    slider->setValue(toQtInt(m_value));
    slider->setSingleStep(toQtInt(m_lineStep));
    slider->setPageStep(toQtInt(m_pageStep));
    slider->setTracking(m_allowLiveScrolling);
    static constexpr QSlider::TickPosition kTickPositions[] = { QSlider::NoTicks, QSlider::TicksBelow, QSlider::TicksAbove, QSlider::TicksBothSides };
    slider->setTickPosition(m_tickMarkStyle >= 0 && m_tickMarkStyle <= 3 ? kTickPositions[m_tickMarkStyle] : QSlider::NoTicks);
}

void Slider::geometryChanged()
{
    // Laid out along its longer side, as the design draws it.
    if (QWidget* widget = this->widget())
        sliderOf(widget)->setOrientation(Width() >= Height() ? Qt::Horizontal : Qt::Vertical);
}

void Slider::userMoved(int value)
{
    SystemEventScope scope;
    if (value == m_value)
        return;
    m_value = value;
    deliverEvent(kSliderValueChangedEvent);
}
