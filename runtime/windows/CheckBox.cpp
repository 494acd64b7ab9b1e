#include "windows/CheckBox.h"

#include "qt/QtSupport.h"
#include "windows/Delegate.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace {

QCheckBox* boxOf(QWidget* widget)
{
    return static_cast<QCheckBox*>(widget);
}

} // namespace

RUNTIME_CLASS_RECORD(CheckBox, "CheckBox", RectControl,
    property<CheckBox>("Caption", &CheckBox::Caption),
    property<CheckBox>("Value", &CheckBox::Value),
    property<CheckBox>("VisualState", &CheckBox::VisualState),
    ::storedProperty("DataField", PropertyType::String),
    ::storedProperty("DataSource", PropertyType::String),
    property<CheckBox>("FontName", &CheckBox::FontName),
    property<CheckBox>("FontSize", &CheckBox::FontSize),
    fontUnitProperty<CheckBox>(),
    property<CheckBox>("Bold", &CheckBox::Bold),
    property<CheckBox>("Italic", &CheckBox::Italic),
    property<CheckBox>("Underline", &CheckBox::Underline))

CheckBox::CheckBox()
{
    auto* box = new QCheckBox;
    // Changes from code are made with the box's signals blocked: what arrives is the user's.
    QObject::connect(box, &QCheckBox::stateChanged, box, [this](int state) { userChangedState(state); });
    setWidget(box);
    applyFont();
}

bool CheckBox::raisesEvent(int64_t eventId) const
{
    return eventId == kActionEvent;
}

void CheckBox::Caption(const std::string& caption)
{
    m_caption = caption;
    if (QWidget* widget = this->widget())
        boxOf(widget)->setText(toQString(caption));
}

void CheckBox::Value(bool ticked)
{
    VisualState(ticked ? kTicked : kClear);
}

void CheckBox::VisualState(int64_t state)
{
    checkUIThread();
    state = std::clamp(state, kClear, kMixed);
    if (state == m_visualState)
        return;
    m_visualState = state;
    showState();
    raiseEvent(kActionEvent);
}

void CheckBox::showState()
{
    QWidget* widget = this->widget();
    if (!widget)
        return;
    QCheckBox* box = boxOf(widget);
    QSignalBlocker blocker(box);
    box->setTristate(m_visualState == kMixed);
    box->setCheckState(m_visualState == kTicked ? Qt::Checked : m_visualState == kMixed ? Qt::PartiallyChecked : Qt::Unchecked);
}

void CheckBox::userChangedState(int qtState)
{
    SystemEventScope scope;
    int64_t state = qtState == Qt::Checked ? kTicked : qtState == Qt::PartiallyChecked ? kMixed : kClear;
    if (state == m_visualState)
        return;
    m_visualState = state;
    // A click leaves the mixed state for good: the user only ticks and clears.
    if (state != kMixed)
        showState();
    deliverEvent(kActionEvent);
}
