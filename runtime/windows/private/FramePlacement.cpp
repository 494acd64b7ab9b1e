#include "windows/private/FramePlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// A window manager frames a window only once it shows it, and Qt adds to a move the frame it
// believes in, none before: the frame is guessed from the last one put round a decorated
// window (placement_test.py).
QMargins& lastSeenFrame()
{
    static QMargins margins;
    return margins;
}

QMargins frameOf(const QWidget* widget)
{
    const QRect frame = widget->frameGeometry();
    const QRect content = widget->geometry();
    return { content.left() - frame.left(), content.top() - frame.top(), frame.right() - content.right(),
             frame.bottom() - content.bottom() };
}

bool frameless(const QWidget* widget)
{
    return widget->windowFlags() & Qt::FramelessWindowHint;
}

} // namespace

FramePlacement::FramePlacement(QWidget* window)
    : m_window(window)
{
}

void FramePlacement::noteFrame()
{
    if (!m_window || !m_window->isVisible())
        return;
    const QMargins frame = frameOf(m_window);
    if (frame.isNull())
        return;
    m_frame = frame;
    if (!frameless(m_window))
        lastSeenFrame() = frame;
}

QMargins FramePlacement::expectedFrame() const
{
    if (frameless(m_window))
        return {};
    return m_frame.isNull() ? lastSeenFrame() : m_frame;
}

bool FramePlacement::framedNow() const
{
    return !m_window->testAttribute(Qt::WA_WState_Created) || (m_window->isVisible() && !frameOf(m_window).isNull());
}

QPoint FramePlacement::position() const
{
    // Qt knows the frame of a window on screen, and keeps a position given before the window
    // was made as the frame's; otherwise it has the content's place, with no frame around it.
    if (framedNow())
        return m_window->pos();
    const QMargins frame = expectedFrame();
    return m_window->geometry().topLeft() - QPoint(frame.left(), frame.top());
}

void FramePlacement::moveTo(QPoint position)
{
    if (framedNow()) {
        m_window->move(position);
        return;
    }
    // Hidden or not framed yet: the content goes where the frame to come will leave it. Qt adds
    // the frame it believes in to a move, so that is taken off.
    const QMargins frame = expectedFrame();
    const QMargins believed = frameOf(m_window);
    m_window->move(position + QPoint(frame.left() - believed.left(), frame.top() - believed.top()));
}

void FramePlacement::centreOnScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins frame = framedNow() && !frameOf(m_window).isNull() ? frameOf(m_window) : expectedFrame();
    const QSize size = m_window->size().grownBy(frame);
    const int x = available.x() + std::max(0, (available.width() - size.width()) / 2);
    const int y = available.y() + std::max(0, (available.height() - size.height()) / 2);
    moveTo(QPoint(x, y));
}
