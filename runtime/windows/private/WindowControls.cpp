#include "windows/private/WindowControls.h"

#include <QWidget>

#include <algorithm>

void WindowControls::add(const std::string& name, const Ref<Control>& control)
{
    m_controls.emplace_back(name, control);
}

Ref<Control> WindowControls::byName(const std::string& name) const
{
    for (const auto& [registered, control] : m_controls) {
        if (namesMatch(registered, name))
            return control;
    }
    return nullptr;
}

std::vector<Ref<Control>> WindowControls::snapshot() const
{
    std::vector<Ref<Control>> controls;
    for (const auto& [name, control] : m_controls)
        controls.push_back(control);
    return controls;
}

void WindowControls::release()
{
    // Released outside the list: a control's destructor may look at the window.
    std::vector<std::pair<std::string, Ref<Control>>> controls = std::move(m_controls);
    m_controls.clear();
    controls.clear();
}

void WindowControls::followResize(int64_t dx, int64_t dy)
{
    for (auto& [name, control] : m_controls)
        control->followWindowResize(dx, dy);
}

void WindowControls::setTabOrder() const
{
    std::vector<Control::FocusPlace> order;
    for (const auto& [name, control] : m_controls) {
        if (std::optional<Control::FocusPlace> place = control->focusPlace())
            order.push_back(*place);
    }
    std::stable_sort(order.begin(), order.end(), [](const Control::FocusPlace& a, const Control::FocusPlace& b) { return a.tabIndex < b.tabIndex; });
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].widget, order[i].widget);
}

bool WindowControls::takeKey(WindowKey key)
{
    for (auto& [name, control] : m_controls) {
        if (control->takeWindowKey(key))
            return true;
    }
    return false;
}
