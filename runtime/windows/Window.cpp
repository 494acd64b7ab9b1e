#include "windows/Window.h"

#include "drawing/Graphics.h"
#include "menus/MenuItem.h"
#include "qt/QtSupport.h"
#include "windows/private/SystemWindowSize.h"
#include "application/EventDelivery.h"
#include "application/private/WindowSystem.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMargins>
#include <QMoveEvent>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

// A drag of the window's edge counts as over once no resize came for this long.
constexpr int kResizeSettleMilliseconds = 150;
// How often the size last set is asked for again after a drag: the user may still hold it.
constexpr int kSizeChecks = 40;

// The test platforms: they activate every window they show, whatever it asks for, and
// cannot raise one.
bool headlessPlatform()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

// The window's Qt side: reports what the window system does to the window.
class WindowWidget : public QMainWindow {
public:
    explicit WindowWidget(Window* owner)
        : m_owner(owner)
    {
    }

    Window* owner() const { return m_owner; }
    void detach() { m_owner = nullptr; }

protected:
    bool event(QEvent* event) override
    {
        SystemEventScope scope;
        if (m_owner) {
            switch (event->type()) {
            case QEvent::WindowActivate:
                m_owner->qtActivated();
                break;
            case QEvent::Enter:
                m_owner->deliver(WindowEvent::MouseEnter);
                break;
            case QEvent::Leave:
                m_owner->deliver(WindowEvent::MouseExit);
                break;
            default:
                break;
            }
        }
        return QMainWindow::event(event);
    }

    void resizeEvent(QResizeEvent* event) override
    {
        SystemEventScope scope;
        QMainWindow::resizeEvent(event);
        if (m_owner) {
            m_owner->noteFrame();
            m_owner->qtResized();
        }
    }

    void moveEvent(QMoveEvent* event) override
    {
        QMainWindow::moveEvent(event);
        if (m_owner)
            m_owner->noteFrame();
    }

    void changeEvent(QEvent* event) override
    {
        QMainWindow::changeEvent(event);
        if (m_owner && event->type() == QEvent::WindowStateChange && !isMaximized())
            m_owner->m_maximizeReported = false;
    }

    void closeEvent(QCloseEvent* event) override
    {
        SystemEventScope scope;
        if (!m_owner || m_owner->qtClosing())
            event->accept();
        else
            event->ignore();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        SystemEventScope scope;
        // Keys reach the window when the focused control has no use for them.
        if (m_owner && m_owner->qtKeyPressed(event->key()))
            event->accept();
        else
            QMainWindow::keyPressEvent(event);
    }

private:
    Window* m_owner;
};

// The content area below the menu bar; the controls sit in it and the Paint event draws on it.
class WindowContentWidget : public QWidget {
public:
    explicit WindowContentWidget(Window* owner)
        : m_owner(owner)
    {
    }

    void detach() { m_owner = nullptr; }

    void noteControlRepaint(const QRect& area) { m_controlRepaints += area; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        SystemEventScope scope;
        const bool forControlsOnly = !m_controlRepaints.isEmpty() && (event->region() - m_controlRepaints).isEmpty();
        m_controlRepaints = QRegion();
        if (forControlsOnly || !m_owner || !m_owner->m_paintHandler)
            return;
        QPainter painter(this);
        Ref<Graphics> graphics = paintSurface(m_graphics, &painter);
        m_owner->deliverPaint(graphics, areasOf(event->region()));
        graphics->bindPainter(nullptr);
    }

private:
    Window* m_owner;
    Ref<Graphics> m_graphics;
    QRegion m_controlRepaints;
};

void noteControlRepaint(QWidget* control)
{
    for (QWidget* ancestor = control->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto* content = dynamic_cast<WindowContentWidget*>(ancestor)) {
            content->noteControlRepaint(QRect(control->mapTo(content, QPoint(0, 0)), control->size()));
            return;
        }
    }
}

struct Window::QtParts {
    QPointer<WindowWidget> widget;
    QPointer<WindowContentWidget> content;
    QTimer* resizeSettle = nullptr;
    // After the user's resize: sets the size the application gave the window again until the
    // window system has taken it.
    QTimer* sizeCheck = nullptr;
    int sizeChecksLeft = 0;
    // The window's size as the runtime last knew it; a resize to another size came from outside.
    QSize knownSize;
    // The frame the window manager put around the window when it last showed it.
    QMargins frame;
    // The window that was active before a floating window was shown.
    QPointer<QWidget> previousActive;
};

RUNTIME_CLASS_RECORD(Window, "Window", Object,
    property<Window>("Width", &Window::Width),
    property<Window>("Height", &Window::Height),
    property<Window>("MinimumWidth", &Window::MinimumWidth),
    property<Window>("MinimumHeight", &Window::MinimumHeight),
    property<Window>("MaximumWidth", &Window::MaximumWidth),
    property<Window>("MaximumHeight", &Window::MaximumHeight),
    property<Window>("Type", &Window::Type),
    property<Window>("Title", &Window::Title),
    property<Window>("HasCloseButton", &Window::HasCloseButton),
    property<Window>("HasMaximizeButton", &Window::HasMaximizeButton),
    property<Window>("HasMinimizeButton", &Window::HasMinimizeButton),
    property<Window>("HasFullScreenButton", &Window::HasFullScreenButton),
    property<Window>("Resizeable", &Window::Resizeable),
    property<Window>("LiveResize", &Window::LiveResize),
    property<Window>("DefaultLocation", &Window::DefaultLocation),
    property<Window>("Visible", &Window::Visible),
    property<Window>("HasBackgroundColor", &Window::HasBackgroundColor),
    property<Window>("BackgroundColor", &Window::BackgroundColor),
    property<Window>("FullScreen", &Window::FullScreen),
    property<Window>("Composite", &Window::Composite),
    property<Window>("MacProcId", &Window::MacProcId),
    property<Window>("MenuBarVisible", &Window::MenuBarVisible))

Window::Window()
    : m_qt(std::make_unique<QtParts>())
{
    startWindowSystem();
    checkUIThread();
    auto* widget = new WindowWidget(this);
    auto* content = new WindowContentWidget(this);
    widget->setCentralWidget(content);
    m_qt->widget = widget;
    m_qt->content = content;
    m_qt->resizeSettle = new QTimer(widget);
    m_qt->resizeSettle->setSingleShot(true);
    m_qt->resizeSettle->setInterval(kResizeSettleMilliseconds);
    QObject::connect(m_qt->resizeSettle, &QTimer::timeout, widget, [widget] {
        if (Window* owner = widget->owner())
            owner->qtResizeSettled();
    });
    m_qt->sizeCheck = new QTimer(widget);
    m_qt->sizeCheck->setInterval(kResizeSettleMilliseconds);
    QObject::connect(m_qt->sizeCheck, &QTimer::timeout, widget, [widget] {
        if (Window* owner = widget->owner())
            owner->checkSystemSize();
    });
    applyWindowFlags();
    applySize();
}

Window::~Window()
{
    releaseControls();
    if (WindowWidget* widget = m_qt->widget) {
        widget->detach();
        if (m_qt->content)
            m_qt->content->detach();
        disposeQtObject(widget);
    }
}

bool Window::handles(WindowEvent event) const
{
    return static_cast<bool>(m_handlers[index(event)]);
}

void Window::raise(WindowEvent event)
{
    if (std::function<void()> handler = m_handlers[index(event)])
        handler();
}

void Window::deliver(WindowEvent event)
{
    std::function<void()> handler = m_handlers[index(event)];
    if (!handler)
        return;
    SystemEventScope scope;
    // The handler may drop the last other reference to this window (by closing it).
    Ref<Window> keep = self<Window>();
    deliverSystemEvent(handler);
}

void Window::deliverPaint(Ref<Graphics> graphics, const std::vector<Rect>& areas)
{
    std::function<void(Ref<Graphics>, const std::vector<Rect>&)> handler = m_paintHandler;
    if (!handler)
        return;
    SystemEventScope scope;
    Ref<Window> keep = self<Window>();
    deliverSystemEvent([&] { handler(graphics, areas); });
}

void Window::Constructor()
{
    checkUIThread();
    if (m_constructing || m_constructed)
        throw RuntimeException("RuntimeException", classRecord().name + " is built already");
    m_constructing = true;
    Ref<Window> keep = self<Window>();
    addOpenWindow(keep);
    try {
        raise(WindowEvent::Layout);
        raise(WindowEvent::CreateControls);
        setTabOrder();
    } catch (...) {
        m_constructing = false;
        m_closed = true;
        m_qt->widget->hide();
        releaseControls();
        removeOpenWindow(*this);
        throw;
    }
    // The Open events are events like any other: one whose handler fails is reported and the
    // window, complete by now, stays open (a song that failed to load must not cost the flag).
    // Copied: an Open handler may add controls.
    std::vector<std::pair<std::string, Ref<Control>>> controls = m_controls;
    for (auto& [name, control] : controls)
        RuntimeDeliver([&control] { control->raiseOpen(); });
    RuntimeDeliver([this] { raise(WindowEvent::Open); });
    m_constructing = false;
    m_constructed = true;
    if (m_visible)
        Show();
}

void Window::designWillApply()
{
    m_applyingDesign = true;
}

void Window::designDidApply()
{
    m_applyingDesign = false;
}

// Sizes.

void Window::Width(int64_t width)
{
    checkUIThread();
    width = std::max(m_minimumWidth, std::min(width, m_maximumWidth));
    if (width == m_width)
        return;
    int64_t oldWidth = m_width;
    m_width = width;
    applySize();
    contentResized(oldWidth, m_height);
    postResized();
}

void Window::Height(int64_t height)
{
    checkUIThread();
    height = std::max(m_minimumHeight, std::min(height, m_maximumHeight));
    if (height == m_height)
        return;
    int64_t oldHeight = m_height;
    m_height = height;
    applySize();
    contentResized(m_width, oldHeight);
    postResized();
}

void Window::MinimumWidth(int64_t width)
{
    m_minimumWidth = std::max<int64_t>(0, width);
    m_maximumWidth = std::max(m_maximumWidth, m_minimumWidth);
    Width(m_width);
    applySizeLimits();
}

void Window::MinimumHeight(int64_t height)
{
    m_minimumHeight = std::max<int64_t>(0, height);
    m_maximumHeight = std::max(m_maximumHeight, m_minimumHeight);
    Height(m_height);
    applySizeLimits();
}

void Window::MaximumWidth(int64_t width)
{
    m_maximumWidth = std::max<int64_t>(0, width);
    m_minimumWidth = std::min(m_minimumWidth, m_maximumWidth);
    Width(m_width);
    applySizeLimits();
}

void Window::MaximumHeight(int64_t height)
{
    m_maximumHeight = std::max<int64_t>(0, height);
    m_minimumHeight = std::min(m_minimumHeight, m_maximumHeight);
    Height(m_height);
    applySizeLimits();
}

int Window::menuBarHeight() const
{
    auto* bar = qobject_cast<QMenuBar*>(m_qt->widget->menuWidget());
    if (!bar || bar->isHidden())
        return 0;
    // The height the main window's layout gives its menu bar.
    int height = bar->heightForWidth(std::max(m_qt->widget->width(), bar->minimumWidth()));
    if (height < 0)
        height = bar->sizeHint().height();
    return std::clamp(height, std::max(bar->minimumHeight(), bar->minimumSizeHint().height()), bar->maximumHeight());
}

void Window::applySizeLimits()
{
    WindowWidget* widget = m_qt->widget;
    ++m_changingGeometry;
    int bar = menuBarHeight();
    if (m_resizeable) {
        widget->setMinimumSize(toQtSize(m_minimumWidth), toQtSize(m_minimumHeight, bar));
        widget->setMaximumSize(toQtSize(m_maximumWidth), toQtSize(m_maximumHeight, bar));
    } else {
        widget->setFixedSize(toQtSize(m_width), toQtSize(m_height, bar));
    }
    m_qt->knownSize = widget->size();
    --m_changingGeometry;
}

void Window::applySize()
{
    WindowWidget* widget = m_qt->widget;
    ++m_changingGeometry;
    applySizeLimits();
    int bar = menuBarHeight();
    widget->resize(toQtSize(m_width), toQtSize(m_height, bar));
    // Read back what Qt took, so the window's own limits and the system's agree with Width.
    m_width = widget->width();
    m_height = std::max(0, widget->height() - menuBarHeight());
    m_qt->knownSize = widget->size();
    --m_changingGeometry;
}

void Window::contentResized(int64_t oldWidth, int64_t oldHeight)
{
    int64_t dx = m_width - oldWidth;
    int64_t dy = m_height - oldHeight;
    if (dx == 0 && dy == 0)
        return;
    for (auto& [name, control] : m_controls)
        control->followWindowResize(dx, dy);
}

void Window::postResized()
{
    // A design's sizes are the window's start, not a change; during a drag its end reports.
    if (m_applyingDesign || m_resizedPosted || m_qt->resizeSettle->isActive())
        return;
    m_resizedPosted = true;
    QPointer<WindowWidget> widget = m_qt->widget;
    QMetaObject::invokeMethod(widget, [widget] {
        if (Window* owner = widget ? widget->owner() : nullptr) {
            owner->m_resizedPosted = false;
            owner->deliver(WindowEvent::Resized);
        }
    }, Qt::QueuedConnection);
}

void Window::qtResized()
{
    WindowWidget* widget = m_qt->widget;
    if (m_changingGeometry > 0 || widget->size() == m_qt->knownSize)
        return;
    Ref<Window> keep = self<Window>();
    m_qt->knownSize = widget->size();
    int64_t oldWidth = m_width;
    int64_t oldHeight = m_height;
    m_width = widget->width();
    m_height = std::max(0, widget->height() - menuBarHeight());
    contentResized(oldWidth, oldHeight);

    bool maximized = widget->isMaximized()
        || (widget->windowHandle() && (widget->windowHandle()->windowStates() & Qt::WindowMaximized));
    if (maximized && !m_maximizeReported) {
        // The window has its maximized size now: Maximize, then the one Resized that follows.
        m_maximizeReported = true;
        m_qt->resizeSettle->stop();
        deliver(WindowEvent::Maximize);
        if (!m_closed)
            postResized();
        return;
    }
    if (!maximized)
        m_maximizeReported = false;
    m_qt->sizeCheck->stop();
    if (m_liveResize)
        deliver(WindowEvent::Resizing);
    if (!m_closed)
        m_qt->resizeSettle->start();
}

void Window::qtResizeSettled()
{
    deliver(WindowEvent::Resized);
    if (m_closed)
        return;
    // A window manager drops size requests while it holds the user's drag, and one that ends
    // without another resize leaves no word of it: ask until the size set last has been taken.
    m_qt->sizeChecksLeft = kSizeChecks;
    checkSystemSize();
    if (m_qt->sizeChecksLeft > 0)
        m_qt->sizeCheck->start();
}

void Window::checkSystemSize()
{
    WindowWidget* widget = m_qt->widget;
    // The window system sizes a maximized, full-screen or minimized window itself.
    const bool systemSized = widget->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized);
    const std::optional<QSize> real = windowSystemSize(widget);
    // Nothing to mend where the window system cannot be asked, or has the size already.
    const bool settled = !real || *real == widget->size();
    if (m_closed || !widget->isVisible() || systemSized || settled || m_qt->sizeChecksLeft <= 0) {
        m_qt->sizeChecksLeft = 0;
        m_qt->sizeCheck->stop();
        return;
    }
    --m_qt->sizeChecksLeft;
    requestWindowSystemSize(widget, widget->size());
}

// Place, kind and look.

namespace {

// The frame a window manager last put around a decorated window, for one it has not framed yet.
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

} // namespace

void Window::noteFrame()
{
    WindowWidget* widget = m_qt->widget;
    if (!widget || !widget->isVisible())
        return;
    const QMargins frame = frameOf(widget);
    if (frame.isNull())
        return;
    m_qt->frame = frame;
    if (!(widget->windowFlags() & Qt::FramelessWindowHint))
        lastSeenFrame() = frame;
}

QMargins Window::expectedFrame() const
{
    WindowWidget* widget = m_qt->widget;
    if (widget->windowFlags() & Qt::FramelessWindowHint)
        return {};
    return m_qt->frame.isNull() ? lastSeenFrame() : m_qt->frame;
}

bool Window::framedNow() const
{
    WindowWidget* widget = m_qt->widget;
    return !widget->testAttribute(Qt::WA_WState_Created) || (widget->isVisible() && !frameOf(widget).isNull());
}

QPoint Window::framePosition() const
{
    WindowWidget* widget = m_qt->widget;
    // Qt knows the frame of a window on screen, and keeps a position given before the window
    // was made as the frame's; otherwise it has the content's place, with no frame around it.
    if (framedNow())
        return widget->pos();
    const QMargins frame = expectedFrame();
    return widget->geometry().topLeft() - QPoint(frame.left(), frame.top());
}

void Window::moveFrameTo(QPoint position)
{
    WindowWidget* widget = m_qt->widget;
    if (framedNow()) {
        widget->move(position);
        return;
    }
    // Hidden or not framed yet: the content goes where the frame to come will leave it. Qt adds
    // the frame it believes in to a move, so that is taken off.
    const QMargins frame = expectedFrame();
    const QMargins believed = frameOf(widget);
    widget->move(position + QPoint(frame.left() - believed.left(), frame.top() - believed.top()));
}

int64_t Window::Left() const
{
    return framePosition().x();
}

void Window::Left(int64_t left)
{
    checkUIThread();
    m_placed = true;
    moveFrameTo(QPoint(toQtPosition(left), framePosition().y()));
}

int64_t Window::Top() const
{
    return framePosition().y();
}

void Window::Top(int64_t top)
{
    checkUIThread();
    m_placed = true;
    moveFrameTo(QPoint(framePosition().x(), toQtPosition(top)));
}

bool Window::isFloating() const
{
    return m_type == 3 || m_type == 7;
}

void Window::Type(int64_t type)
{
    m_type = type;
    applyWindowFlags();
}

void Window::Title(const std::string& title)
{
    m_title = title;
    m_qt->widget->setWindowTitle(toQString(title));
}

void Window::HasCloseButton(bool has)
{
    m_hasCloseButton = has;
    applyWindowFlags();
}

void Window::HasMaximizeButton(bool has)
{
    m_hasMaximizeButton = has;
    applyWindowFlags();
}

void Window::HasMinimizeButton(bool has)
{
    m_hasMinimizeButton = has;
    applyWindowFlags();
}

void Window::HasFullScreenButton(bool has)
{
    m_hasFullScreenButton = has;
    applyWindowFlags();
}

void Window::Resizeable(bool resizeable)
{
    m_resizeable = resizeable;
    applySizeLimits();
    applyWindowFlags();
}

void Window::applyWindowFlags()
{
    WindowWidget* widget = m_qt->widget;
    Qt::WindowFlags flags;
    bool frameless = false;
    switch (m_type) {
    case 1:
    case 2:
    case 8:
        flags = Qt::Dialog;
        break;
    case 3:
        flags = Qt::Tool;
        break;
    case 4:
    case 5:
    case 6:
        flags = Qt::Window | Qt::FramelessWindowHint;
        frameless = true;
        break;
    case 7:
        flags = Qt::Tool | Qt::WindowStaysOnTopHint;
        break;
    default:
        flags = Qt::Window;
        break;
    }
    if (!frameless) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (m_hasCloseButton)
            flags |= Qt::WindowCloseButtonHint;
        if (m_hasMinimizeButton)
            flags |= Qt::WindowMinimizeButtonHint;
        if (m_hasMaximizeButton && m_resizeable)
            flags |= Qt::WindowMaximizeButtonHint;
        if (m_hasFullScreenButton)
            flags |= Qt::WindowFullscreenButtonHint;
    }
    widget->setAttribute(Qt::WA_ShowWithoutActivating, isFloating());
    if (widget->windowFlags() == flags)
        return;
    // New flags hide a shown window; it comes back as it was.
    bool wasVisible = widget->isVisible();
    widget->setWindowFlags(flags);
    if (!wasVisible)
        widget->setWindowModality(m_type == 2 ? Qt::ApplicationModal : Qt::NonModal);
    if (wasVisible)
        widget->show();
}

bool Window::Visible() const
{
    return m_constructed ? m_qt->widget->isVisible() : m_visible;
}

void Window::Visible(bool visible)
{
    if (!m_constructed) {
        m_visible = visible;
        return;
    }
    if (visible)
        Show();
    else
        Hide();
}

void Window::HasBackgroundColor(bool has)
{
    m_hasBackgroundColor = has;
    applyBackground();
}

void Window::BackgroundColor(::Color color)
{
    m_backgroundColor = color;
    applyBackground();
}

void Window::applyBackground()
{
    QWidget* content = m_qt->content;
    content->setAutoFillBackground(m_hasBackgroundColor);
    if (m_hasBackgroundColor) {
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(m_backgroundColor.rgb));
        content->setPalette(palette);
    }
}

void Window::FullScreen(bool fullScreen)
{
    m_fullScreen = fullScreen;
    WindowWidget* widget = m_qt->widget;
    if (!widget->isVisible())
        return;
    if (fullScreen)
        widget->showFullScreen();
    else
        widget->showNormal();
}

void Window::MenuBarVisible(bool visible)
{
    m_menuBarVisible = visible;
    if (QWidget* bar = m_qt->widget->menuWidget()) {
        bar->setVisible(visible);
        applySize();
    }
}

void Window::MenuBar(const Ref<::MenuBar>& bar)
{
    m_menuBar = bar;
    WindowWidget* widget = m_qt->widget;
    if (bar) {
        auto* qtBar = new QMenuBar;
        // The bar belongs in the window: this platform has no global menu bar.
        qtBar->setNativeMenuBar(false);
        bar->showIn(qtBar);
        widget->setMenuBar(qtBar);
        qtBar->setVisible(m_menuBarVisible);
    } else if (widget->menuWidget()) {
        widget->setMenuBar(nullptr);
    }
    // The content keeps its size; the window grows or shrinks by the bar.
    applySize();
}

void Window::placeOnFirstShow()
{
    if (m_placed)
        return;
    m_placed = true;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    WindowWidget* widget = m_qt->widget;
    QRect available = screen->availableGeometry();
    const QMargins frame = framedNow() && !frameOf(widget).isNull() ? frameOf(widget) : expectedFrame();
    QSize size = widget->size().grownBy(frame);
    int x = available.x() + std::max(0, (available.width() - size.width()) / 2);
    int y = available.y() + std::max(0, (available.height() - size.height()) / 2);
    moveFrameTo(QPoint(x, y));
}

// Showing, hiding, closing.

void Window::Show()
{
    checkUIThread();
    WindowWidget* widget = m_qt->widget;
    placeOnFirstShow();
    if (isFloating()) {
        attachToMainWindow();
        if (!widget->isVisible() && headlessPlatform()) {
            m_swallowShowActivation = true;
            m_qt->previousActive = QApplication::activeWindow();
        }
    }
    // A minimized window comes back, as it was before.
    if (widget->windowState() & Qt::WindowMinimized)
        widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
    if (m_fullScreen)
        widget->showFullScreen();
    else
        widget->show();
    if (!headlessPlatform())
        widget->raise();
    if (!isFloating()) {
        widget->activateWindow();
        raiseFloatingWindows();
    }
}

void Window::attachToMainWindow()
{
    Window* main = mainWindow();
    if (!main || main == this)
        return;
    m_qt->widget->winId();
    main->m_qt->widget->winId();
    QWindow* parent = main->m_qt->widget->windowHandle();
    QWindow* handle = m_qt->widget->windowHandle();
    // Said again once the main window is on screen: a window manager that met the floating
    // window first, while its parent was not yet managed, did not take it as the parent's.
    if (handle->transientParent() == parent)
        handle->setTransientParent(nullptr);
    handle->setTransientParent(parent);
}

void Window::raiseFloatingWindows()
{
    if (headlessPlatform())
        return;
    // Floating windows stay above the document windows, also those shown or activated after them.
    // Copied: raising a window may have its handlers close one.
    const std::vector<Ref<Window>> windows = openWindows();
    for (const Ref<Window>& window : windows) {
        if (window->isFloating() && !window->m_closed && window->m_qt->widget && window->m_qt->widget->isVisible()) {
            window->attachToMainWindow();
            window->m_qt->widget->raise();
        }
    }
}

void Window::Hide()
{
    checkUIThread();
    noteFrame();
    m_qt->widget->hide();
}

void Window::Close()
{
    checkUIThread();
    discard();
}

void Window::discard()
{
    if (m_closed)
        return;
    m_closed = true;
    Ref<Window> keep = self<Window>();
    m_qt->resizeSettle->stop();
    m_qt->widget->hide();
    releaseControls();
    removeOpenWindow(*this);
}

void Window::releaseControls()
{
    // Released outside the list: a control's destructor may look at the window.
    std::vector<std::pair<std::string, Ref<Control>>> controls = std::move(m_controls);
    m_controls.clear();
    controls.clear();
}

void Window::qtActivated()
{
    Ref<Window> keep = self<Window>();
    if (m_swallowShowActivation) {
        // The platform activated a window that asked to be shown without it: undo that.
        m_swallowShowActivation = false;
        QWidget* previous = m_qt->previousActive;
        if (previous && previous != m_qt->widget && previous->isVisible())
            previous->activateWindow();
        return;
    }
    // The window manager raised this window as it activated it.
    if (!isFloating())
        raiseFloatingWindows();
    deliver(WindowEvent::Activate);
}

bool Window::qtClosing()
{
    Ref<Window> keep = self<Window>();
    if (handles(WindowEvent::Close)) {
        deliver(WindowEvent::Close);
        return false;
    }
    discard();
    return true;
}

bool Window::qtKeyPressed(int key)
{
    WindowKey windowKey;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        windowKey = WindowKey::Return;
    else if (key == Qt::Key_Escape)
        windowKey = WindowKey::Escape;
    else
        return false;
    Ref<Window> keep = self<Window>();
    for (auto& [name, control] : m_controls) {
        if (control->takeWindowKey(windowKey))
            return true;
    }
    return false;
}

// Controls.

void Window::_AddControl(const std::string& name, const Ref<Control>& control)
{
    checkUIThread();
    control.get().attachWindow(self<Window>());
    if (control->Name().empty())
        control->Name(name);
    m_controls.emplace_back(name, control);
    control->placeInWindow();
}

Ref<Control> Window::_ControlByName(const std::string& name) const
{
    checkUIThread();
    for (const auto& [registered, control] : m_controls) {
        if (namesMatch(registered, name))
            return control;
    }
    return nullptr;
}

void Window::setTabOrder()
{
    std::vector<Control::FocusPlace> order;
    for (auto& [name, control] : m_controls) {
        if (std::optional<Control::FocusPlace> place = control->focusPlace())
            order.push_back(*place);
    }
    std::stable_sort(order.begin(), order.end(), [](const Control::FocusPlace& a, const Control::FocusPlace& b) { return a.tabIndex < b.tabIndex; });
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].widget, order[i].widget);
}

QWidget* Window::qtWidget() const
{
    return m_qt->widget;
}

QWidget* Window::contentWidget() const
{
    return m_qt->content;
}
