#include "windows/PushButton.h"

#include "qt/QtSupport.h"
#include "windows/Delegate.h"

#include <QPushButton>

namespace {

QPushButton* buttonOf(QWidget* widget)
{
    return static_cast<QPushButton*>(widget);
}

} // namespace

RUNTIME_CLASS_RECORD(PushButton, "PushButton", RectControl,
    property<PushButton>("Caption", &PushButton::Caption),
    property<PushButton>("Default", &PushButton::Default),
    property<PushButton>("Cancel", &PushButton::Cancel),
    property<PushButton>("MacButtonStyle", &PushButton::MacButtonStyle),
    property<PushButton>("FontName", &PushButton::FontName),
    property<PushButton>("FontSize", &PushButton::FontSize),
    fontUnitProperty<PushButton>(),
    property<PushButton>("Bold", &PushButton::Bold),
    property<PushButton>("Italic", &PushButton::Italic),
    property<PushButton>("Underline", &PushButton::Underline))

PushButton::PushButton()
{
    auto* button = new QPushButton;
    // Return is the window's business (its default button), not the focused button's.
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [this] {
        SystemEventScope scope;
        deliverEvent(kActionEvent);
    });
    setWidget(button);
    applyFont();
}

bool PushButton::raisesEvent(int64_t eventId) const
{
    return eventId == kActionEvent;
}

void PushButton::Caption(const std::string& caption)
{
    m_caption = caption;
    if (QWidget* widget = this->widget())
        buttonOf(widget)->setText(toQString(caption));
}

void PushButton::Default(bool isDefault)
{
    m_default = isDefault;
    if (QWidget* widget = this->widget())
        buttonOf(widget)->setDefault(isDefault);
}

bool PushButton::push()
{
    QWidget* widget = this->widget();
    if (!widget || !widget->isVisible() || !widget->isEnabled())
        return false;
    buttonOf(widget)->click();
    return true;
}

bool PushButton::takeWindowKey(WindowKey key)
{
    return (key == WindowKey::Return ? m_default : m_cancel) && push();
}
