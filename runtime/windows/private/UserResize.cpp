#include "windows/private/UserResize.h"

#include "qt/QtSupport.h"
#include "windows/private/SystemWindowSize.h"

#include <QTimer>

namespace {

// A drag of the window's edge counts as over once no resize came for this long.
constexpr int kDragEndMilliseconds = 150;
// How often the size is asked for again after a drag: the user may still hold it.
constexpr int kSizeChecks = 40;

} // namespace

UserResize::UserResize(QWidget* window, std::function<void()> dragEnded)
    : m_window(window)
    , m_dragEnded(std::move(dragEnded))
    , m_dragEnd(new QTimer)
    , m_sizeCheck(new QTimer)
{
    m_dragEnd->setSingleShot(true);
    m_dragEnd->setInterval(kDragEndMilliseconds);
    QObject::connect(m_dragEnd, &QTimer::timeout, m_dragEnd, [this] {
        SystemEventScope scope;
        // Last: the window, and this with it, may be gone once it returns.
        m_dragEnded();
    });
    m_sizeCheck->setInterval(kDragEndMilliseconds);
    QObject::connect(m_sizeCheck, &QTimer::timeout, m_sizeCheck, [this] { checkSize(); });
}

UserResize::~UserResize()
{
    disposeQtObject(m_dragEnd);
    disposeQtObject(m_sizeCheck);
}

void UserResize::noteSizeFromCode()
{
    m_knownSize = m_window->size();
}

bool UserResize::changedFromOutside()
{
    if (m_codeChanges > 0 || m_window->size() == m_knownSize)
        return false;
    m_knownSize = m_window->size();
    return true;
}

void UserResize::dragging()
{
    m_dragEnd->start();
}

bool UserResize::inDrag() const
{
    return m_dragEnd->isActive();
}

void UserResize::stopDrag()
{
    m_dragEnd->stop();
}

void UserResize::keepSize()
{
    m_sizeChecksLeft = kSizeChecks;
    checkSize();
    if (m_sizeChecksLeft > 0)
        m_sizeCheck->start();
}

void UserResize::stopKeepingSize()
{
    m_sizeChecksLeft = 0;
    m_sizeCheck->stop();
}

void UserResize::checkSize()
{
    QWidget* window = m_window;
    if (!window || !window->isVisible() || m_sizeChecksLeft <= 0) {
        stopKeepingSize();
        return;
    }
    // The window system sizes a maximized, full-screen or minimized window itself.
    const bool systemSized = window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized);
    const std::optional<QSize> real = windowSystemSize(window);
    // Nothing to mend where the window system cannot be asked, or has the size already.
    const bool settled = !real || *real == window->size();
    if (systemSized || settled) {
        stopKeepingSize();
        return;
    }
    --m_sizeChecksLeft;
    requestWindowSystemSize(window, window->size());
}
