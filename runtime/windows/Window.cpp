#include "windows/Window.h"

#include "application/EventDelivery.h"
#include "application/private/WindowSystem.h"
#include "drawing/Graphics.h"
#include "qt/QtSupport.h"
#include "windows/private/FloatingStacking.h"
#include "windows/private/FramePlacement.h"
#include "windows/private/MenuBarHosting.h"
#include "windows/private/UserResize.h"
#include "windows/private/WindowControls.h"
#include "windows/private/WindowKinds.h"
#include "windows/private/WindowManagerQuirks.h"
#include "windows/private/WindowWidgets.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPointer>

#include <algorithm>

// The window's Qt side: its widgets, what the window manager does to them, and the window's
// events for what they report.
struct Window::QtParts final : WindowSystemEvents {
    explicit QtParts(Window& owner)
        : window(owner)
        , widget(new WindowWidget(this))
        , content(new WindowContentWidget(this))
        , frame(widget)
        , resize(widget, [&owner] {
            // The Resized handler may drop the last other reference to the window.
            Ref<Window> keep = owner.self<Window>();
            owner.userResizeEnded();
        })
    {
        widget->setCentralWidget(content);
    }

    void activated() override { window.qtActivated(); }
    void mouseEntered() override { window.deliver(WindowEvent::MouseEnter); }
    void mouseLeft() override { window.deliver(WindowEvent::MouseExit); }
    void frameChanged() override { frame.noteFrame(); }
    void resized() override { window.qtResized(); }
    void stateChanged() override
    {
        if (!shownMaximized(widget))
            window.m_maximizeReported = false;
    }
    bool closing() override { return window.qtClosing(); }
    bool keyPressed(WindowKey key) override { return window.qtKeyPressed(key); }
    bool paints() const override { return static_cast<bool>(window.m_paintHandler); }
    void paint(const Ref<Graphics>& graphics, const std::vector<Rect>& areas) override { window.deliverPaint(graphics, areas); }

    Window& window;
    QPointer<WindowWidget> widget;
    QPointer<WindowContentWidget> content;
    FramePlacement frame;
    UserResize resize;
    UnaskedActivation unaskedActivation;
    WindowControls controls;
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
{
    startWindowSystem();
    checkUIThread();
    m_qt = std::make_unique<QtParts>(*this);
    applyWindowFlags();
    applySize();
}

Window::~Window()
{
    m_qt->controls.release();
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
        m_qt->controls.setTabOrder();
    } catch (...) {
        m_constructing = false;
        m_closed = true;
        m_qt->widget->hide();
        m_qt->controls.release();
        removeOpenWindow(*this);
        throw;
    }
    // The Open events are events like any other: one whose handler fails is reported and the
    // window, complete by now, stays open (a song that failed to load must not cost the flag).
    // Copied: an Open handler may add controls.
    std::vector<Ref<Control>> controls = m_qt->controls.snapshot();
    for (Ref<Control>& control : controls)
        RuntimeDeliver([&control] { control->raiseOpen(); });
    RuntimeDeliver([this] { raise(WindowEvent::Open); });
    m_constructing = false;
    m_constructed = true;
    if (m_visible)
        Show();
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

void Window::applySizeLimits()
{
    WindowWidget* widget = m_qt->widget;
    UserResize::CodeChange change(m_qt->resize);
    int bar = menuBarHeight(widget);
    if (m_resizeable) {
        widget->setMinimumSize(toQtSize(m_minimumWidth), toQtSize(m_minimumHeight, bar));
        widget->setMaximumSize(toQtSize(m_maximumWidth), toQtSize(m_maximumHeight, bar));
    } else {
        widget->setFixedSize(toQtSize(m_width), toQtSize(m_height, bar));
    }
    m_qt->resize.noteSizeFromCode();
}

void Window::applySize()
{
    WindowWidget* widget = m_qt->widget;
    UserResize::CodeChange change(m_qt->resize);
    applySizeLimits();
    int bar = menuBarHeight(widget);
    widget->resize(toQtSize(m_width), toQtSize(m_height, bar));
    // Read back what Qt took, so the window's own limits and the system's agree with Width.
    m_width = widget->width();
    m_height = std::max(0, widget->height() - menuBarHeight(widget));
    m_qt->resize.noteSizeFromCode();
}

void Window::contentResized(int64_t oldWidth, int64_t oldHeight)
{
    int64_t dx = m_width - oldWidth;
    int64_t dy = m_height - oldHeight;
    if (dx == 0 && dy == 0)
        return;
    m_qt->controls.followResize(dx, dy);
}

void Window::postResized()
{
    // A design's sizes are the window's start, not a change; during a drag its end reports.
    if (m_applyingDesign || m_resizedPosted || m_qt->resize.inDrag())
        return;
    m_resizedPosted = true;
    QPointer<WindowWidget> widget = m_qt->widget;
    // The widget stays attached for the window's life.
    QMetaObject::invokeMethod(widget, [widget, this] {
        if (widget && widget->attached()) {
            m_resizedPosted = false;
            deliver(WindowEvent::Resized);
        }
    }, Qt::QueuedConnection);
}

void Window::qtResized()
{
    WindowWidget* widget = m_qt->widget;
    if (!m_qt->resize.changedFromOutside())
        return;
    Ref<Window> keep = self<Window>();
    int64_t oldWidth = m_width;
    int64_t oldHeight = m_height;
    m_width = widget->width();
    m_height = std::max(0, widget->height() - menuBarHeight(widget));
    contentResized(oldWidth, oldHeight);

    bool maximized = shownMaximized(widget);
    if (maximized && !m_maximizeReported) {
        // The window has its maximized size now: Maximize, then the one Resized that follows.
        m_maximizeReported = true;
        m_qt->resize.stopDrag();
        deliver(WindowEvent::Maximize);
        if (!m_closed)
            postResized();
        return;
    }
    if (!maximized)
        m_maximizeReported = false;
    m_qt->resize.stopKeepingSize();
    if (m_liveResize)
        deliver(WindowEvent::Resizing);
    if (!m_closed)
        m_qt->resize.dragging();
}

void Window::userResizeEnded()
{
    deliver(WindowEvent::Resized);
    if (!m_closed)
        m_qt->resize.keepSize();
}

// Place, kind and look.

int64_t Window::Left() const
{
    return m_qt->frame.position().x();
}

void Window::Left(int64_t left)
{
    checkUIThread();
    m_placed = true;
    m_qt->frame.moveTo(QPoint(toQtPosition(left), m_qt->frame.position().y()));
}

int64_t Window::Top() const
{
    return m_qt->frame.position().y();
}

void Window::Top(int64_t top)
{
    checkUIThread();
    m_placed = true;
    m_qt->frame.moveTo(QPoint(m_qt->frame.position().x(), toQtPosition(top)));
}

bool Window::isFloating() const
{
    return isFloatingKind(m_type);
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
    // A window that cannot be resized offers no maximize button.
    const Qt::WindowFlags flags = windowFlagsOf(m_type, { .close = m_hasCloseButton, .minimize = m_hasMinimizeButton,
        .maximize = m_hasMaximizeButton && m_resizeable, .fullScreen = m_hasFullScreenButton });
    widget->setAttribute(Qt::WA_ShowWithoutActivating, isFloating());
    if (widget->windowFlags() == flags)
        return;
    const bool wasVisible = widget->isVisible();
    setWindowFlags(widget, flags);
    if (!wasVisible)
        widget->setWindowModality(modalityOf(m_type));
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
    if (showMenuBar(m_qt->widget, visible))
        applySize();
}

void Window::MenuBar(const Ref<::MenuBar>& bar)
{
    m_menuBar = bar;
    hostMenuBar(m_qt->widget, bar, m_menuBarVisible);
    // The content keeps its size; the window grows or shrinks by the bar.
    applySize();
}

// Showing, hiding, closing.

void Window::Show()
{
    checkUIThread();
    WindowWidget* widget = m_qt->widget;
    if (!m_placed) {
        m_placed = true;
        m_qt->frame.centreOnScreen();
    }
    if (isFloating()) {
        attachToMainWindow(widget, mainWindowWidget());
        m_qt->unaskedActivation.showing(widget);
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
        // Floating windows stay above the document windows, also those shown after them.
        raiseFloatingWindows(shownFloatingWindows(), mainWindowWidget());
    }
}

void Window::Hide()
{
    checkUIThread();
    m_qt->frame.noteFrame();
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
    m_qt->resize.stopDrag();
    m_qt->resize.stopKeepingSize();
    m_qt->widget->hide();
    m_qt->controls.release();
    removeOpenWindow(*this);
}

void Window::qtActivated()
{
    Ref<Window> keep = self<Window>();
    if (m_qt->unaskedActivation.takenBack(m_qt->widget))
        return;
    // The window manager raised this window as it activated it.
    if (!isFloating())
        raiseFloatingWindows(shownFloatingWindows(), mainWindowWidget());
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

bool Window::qtKeyPressed(WindowKey key)
{
    Ref<Window> keep = self<Window>();
    return m_qt->controls.takeKey(key);
}

// Controls.

void Window::_AddControl(const std::string& name, const Ref<Control>& control)
{
    checkUIThread();
    control.get().attachWindow(self<Window>());
    if (control->Name().empty())
        control->Name(name);
    m_qt->controls.add(name, control);
    control->placeInWindow();
}

Ref<Control> Window::_ControlByName(const std::string& name) const
{
    checkUIThread();
    return m_qt->controls.byName(name);
}

QWidget* Window::qtWidget() const
{
    return m_qt->widget;
}

QWidget* Window::contentWidget() const
{
    return m_qt->content;
}
