#include "windows/private/WindowWidgets.h"

#include "drawing/Graphics.h"
#include "qt/QtSupport.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace {

// A paint's region as the areas a Paint event lists.
std::vector<Rect> areasOf(const QRegion& region)
{
    std::vector<Rect> areas;
    for (const QRect& area : region)
        areas.push_back({ area.x(), area.y(), area.width(), area.height() });
    return areas;
}

} // namespace

WindowWidget::WindowWidget(WindowSystemEvents* owner)
    : m_owner(owner)
{
}

bool WindowWidget::event(QEvent* event)
{
    SystemEventScope scope;
    if (m_owner) {
        switch (event->type()) {
        case QEvent::WindowActivate:
            m_owner->activated();
            break;
        case QEvent::Enter:
            m_owner->mouseEntered();
            break;
        case QEvent::Leave:
            m_owner->mouseLeft();
            break;
        default:
            break;
        }
    }
    return QMainWindow::event(event);
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    SystemEventScope scope;
    QMainWindow::resizeEvent(event);
    if (m_owner) {
        m_owner->frameChanged();
        m_owner->resized();
    }
}

void WindowWidget::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (m_owner)
        m_owner->frameChanged();
}

void WindowWidget::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (m_owner && event->type() == QEvent::WindowStateChange)
        m_owner->stateChanged();
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    SystemEventScope scope;
    if (!m_owner || m_owner->closing())
        event->accept();
    else
        event->ignore();
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    SystemEventScope scope;
    // Keys reach the window when the focused control has no use for them.
    const int key = event->key();
    const bool isReturn = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (m_owner && (isReturn || key == Qt::Key_Escape) && m_owner->keyPressed(isReturn ? WindowKey::Return : WindowKey::Escape))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}

WindowContentWidget::WindowContentWidget(WindowSystemEvents* owner)
    : m_owner(owner)
{
}

void WindowContentWidget::paintEvent(QPaintEvent* event)
{
    SystemEventScope scope;
    const bool forControlsOnly = !m_controlRepaints.isEmpty() && (event->region() - m_controlRepaints).isEmpty();
    m_controlRepaints = QRegion();
    if (forControlsOnly || !m_owner || !m_owner->paints())
        return;
    QPainter painter(this);
    // One surface for every paint, bound to each paint's painter in turn.
    if (!m_graphics)
        m_graphics = Graphics::forPainter(&painter);
    else
        m_graphics->bindPainter(&painter);
    m_owner->paint(m_graphics, areasOf(event->region()));
    m_graphics->bindPainter(nullptr);
}

void noteControlRepaint(QWidget* control)
{
    for (QWidget* ancestor = control->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto* content = dynamic_cast<WindowContentWidget*>(ancestor)) {
            content->m_controlRepaints += QRect(control->mapTo(content, QPoint(0, 0)), control->size());
            return;
        }
    }
}
