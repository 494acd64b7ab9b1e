#include "Canvas.h"

#include "Delegate.h"
#include "Graphics.h"
#include "private/QtSupport.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

// The canvas's Qt side: hands paints and presses to the canvas's events.
class CanvasWidget : public QWidget {
public:
    explicit CanvasWidget(Canvas* owner)
        : m_owner(owner)
    {
    }

    void detach() { m_owner = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        SystemEventScope scope;
        if (!m_owner || !m_owner->handlesEvent(kCanvasPaintEvent))
            return;
        QPainter painter(this);
        Ref<Graphics> graphics = paintSurface(m_graphics, &painter);
        std::vector<Rect> areas = areasOf(event->region());
        EventArguments arguments;
        arguments.graphics = graphics;
        arguments.areas = &areas;
        m_owner->deliverEvent(kCanvasPaintEvent, arguments);
        graphics->bindPainter(nullptr);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        SystemEventScope scope;
        if (!m_owner || !m_owner->handlesEvent(kCanvasMouseDownEvent)) {
            event->ignore();
            return;
        }
        EventArguments arguments;
        QPoint position = event->position().toPoint();
        arguments.x = position.x();
        arguments.y = position.y();
        event->setAccepted(m_owner->deliverEvent(kCanvasMouseDownEvent, arguments));
    }

    bool focusNextPrevChild(bool next) override
    {
        if (m_owner && m_owner->AllowTabs())
            return false;
        return QWidget::focusNextPrevChild(next);
    }

private:
    Canvas* m_owner;
    Ref<Graphics> m_graphics;
};

RUNTIME_CLASS_RECORD(Canvas, "Canvas", RectControl,
    property<Canvas>("AllowFocus", &Canvas::AllowFocus),
    property<Canvas>("AllowTabs", &Canvas::AllowTabs),
    property<Canvas>("AllowFocusRing", &Canvas::AllowFocusRing),
    property<Canvas>("DoubleBuffer", &Canvas::DoubleBuffer))

Canvas::Canvas()
{
    auto* widget = new CanvasWidget(this);
    widget->setFocusPolicy(Qt::NoFocus);
    setWidget(widget);
}

Canvas::~Canvas()
{
    if (auto* widget = static_cast<CanvasWidget*>(this->widget()))
        widget->detach();
}

bool Canvas::raisesEvent(int64_t eventId) const
{
    return eventId == kCanvasPaintEvent || eventId == kCanvasMouseDownEvent;
}

void Canvas::AllowFocus(bool allow)
{
    m_allowFocus = allow;
    if (QWidget* widget = this->widget()) {
        widget->setFocusPolicy(allow ? Qt::StrongFocus : Qt::NoFocus);
        applyTabStop();
    }
}
