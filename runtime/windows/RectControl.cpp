#include "windows/RectControl.h"

#include "qt/QtSupport.h"
#include "windows/private/WindowWidgets.h"
#include "windows/Window.h"

#include <QPointer>
#include <QWidget>

#include <algorithm>

RUNTIME_CLASS_RECORD(RectControl, "RectControl", Control,
    property<RectControl>("InitialParent", &RectControl::InitialParent),
    property<RectControl>("Left", &RectControl::Left),
    property<RectControl>("Top", &RectControl::Top),
    property<RectControl>("Width", &RectControl::Width),
    property<RectControl>("Height", &RectControl::Height),
    property<RectControl>("LockLeft", &RectControl::LockLeft),
    property<RectControl>("LockTop", &RectControl::LockTop),
    property<RectControl>("LockRight", &RectControl::LockRight),
    property<RectControl>("LockBottom", &RectControl::LockBottom),
    property<RectControl>("TabIndex", &RectControl::TabIndex),
    property<RectControl>("TabStop", &RectControl::TabStop),
    property<RectControl>("TabPanelIndex", &RectControl::TabPanelIndex),
    property<RectControl>("Enabled", &RectControl::Enabled),
    property<RectControl>("Visible", &RectControl::Visible),
    property<RectControl>("Transparent", &RectControl::Transparent),
    property<RectControl>("Tooltip", &RectControl::Tooltip),
    property<RectControl>("AllowAutoDeactivate", &RectControl::AllowAutoDeactivate))

struct RectControl::QtParts {
    // Null once the window's widget, its Qt parent, has deleted it.
    QPointer<QWidget> widget;
};

RectControl::RectControl()
    : m_qt(std::make_unique<QtParts>())
{
}

RectControl::~RectControl()
{
    disposeQtObject(m_qt->widget);
}

void RectControl::Constructor()
{
    if (!m_qt->widget)
        setWidget(createWidget());
}

QWidget* RectControl::createWidget()
{
    return new QWidget;
}

QWidget* RectControl::widget() const
{
    return m_qt->widget;
}

void RectControl::setWidget(QWidget* widget)
{
    m_qt->widget = widget;
    widget->setEnabled(m_enabled);
    widget->setAutoFillBackground(!m_transparent);
    widget->setToolTip(toQString(m_tooltip));
    applyTabStop();
    applyGeometry();
}

void RectControl::placeInWindow()
{
    Ref<::Window> window = Window();
    QWidget* widget = m_qt->widget;
    if (!window || !widget)
        return;
    QWidget* parent = window->contentWidget();
    if (!m_initialParent.empty()) {
        Ref<Control> container = window->_ControlByName(m_initialParent);
        auto* rectContainer = dynamic_cast<RectControl*>(container.raw());
        if (!rectContainer || rectContainer == this || !rectContainer->widget())
            throw RuntimeException("InvalidParentException", "no visual control named " + m_initialParent + " to hold " + Name());
        parent = rectContainer->widget();
    }
    if (widget->parentWidget() != parent)
        widget->setParent(parent);
    m_placed = true;
    applyGeometry();
    applyVisibility();
}

void RectControl::InitialParent(const std::string& name)
{
    m_initialParent = name;
    if (m_placed)
        placeInWindow();
}

void RectControl::Left(int64_t left)
{
    m_left = left;
    applyGeometry();
}

void RectControl::Top(int64_t top)
{
    m_top = top;
    applyGeometry();
}

void RectControl::Width(int64_t width)
{
    m_width = std::max<int64_t>(0, width);
    applyGeometry();
}

void RectControl::Height(int64_t height)
{
    m_height = std::max<int64_t>(0, height);
    applyGeometry();
}

void RectControl::followWindowResize(int64_t dx, int64_t dy)
{
    if (!m_initialParent.empty() || (dx == 0 && dy == 0))
        return;
    if (m_lockRight) {
        if (m_lockLeft)
            m_width = std::max<int64_t>(0, saturatingAdd(m_width, dx));
        else
            m_left = saturatingAdd(m_left, dx);
    }
    if (m_lockBottom) {
        if (m_lockTop)
            m_height = std::max<int64_t>(0, saturatingAdd(m_height, dy));
        else
            m_top = saturatingAdd(m_top, dy);
    }
    applyGeometry();
}

std::optional<Control::FocusPlace> RectControl::focusPlace() const
{
    QWidget* widget = m_qt->widget;
    if (!widget || widget->focusPolicy() == Qt::NoFocus)
        return std::nullopt;
    return FocusPlace { m_tabIndex, widget };
}

void RectControl::TabStop(bool tabStop)
{
    m_tabStop = tabStop;
    applyTabStop();
}

void RectControl::Enabled(bool enabled)
{
    m_enabled = enabled;
    if (m_qt->widget)
        m_qt->widget->setEnabled(enabled);
}

void RectControl::Visible(bool visible)
{
    m_visible = visible;
    applyVisibility();
}

void RectControl::Transparent(bool transparent)
{
    m_transparent = transparent;
    if (m_qt->widget)
        m_qt->widget->setAutoFillBackground(!transparent);
}

void RectControl::Tooltip(const std::string& text)
{
    m_tooltip = text;
    if (m_qt->widget)
        m_qt->widget->setToolTip(toQString(text));
}

void RectControl::Invalidate(bool)
{
    // Qt repaints what lies beneath a see-through widget anyway; there is no separate erase.
    if (m_qt->widget) {
        noteControlRepaint(m_qt->widget);
        repaintWidget();
    }
}

void RectControl::repaintWidget()
{
    m_qt->widget->update();
}

void RectControl::applyTabStop()
{
    QWidget* widget = m_qt->widget;
    if (!widget)
        return;
    int policy = widget->focusPolicy();
    if (m_tabStop && (policy & Qt::ClickFocus))
        policy |= Qt::TabFocus;
    else
        policy &= ~Qt::TabFocus;
    widget->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
}

void RectControl::applyGeometry()
{
    checkUIThread();
    if (m_qt->widget)
        m_qt->widget->setGeometry(toQtRect(m_left, m_top, m_width, m_height));
    geometryChanged();
}

void RectControl::applyVisibility()
{
    checkUIThread();
    QWidget* widget = m_qt->widget;
    // A widget without a parent would show as a window of its own.
    if (widget && widget->parentWidget())
        widget->setVisible(m_visible);
}
