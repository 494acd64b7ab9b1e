#include "windows/Canvas.h"

#include "drawing/Graphics.h"
#include "drawing/private/CanvasRecord.h"
#include "drawing/private/PainterTarget.h"
#include "qt/QtSupport.h"
#include "windows/Delegate.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <cmath>

// The canvas's Qt side: hands paints and presses to the canvas's events.
//
// A frame asked for by Invalidate is drawn just before the window repaints: the Paint event
// then draws into a record, and only the pixels that record changes since the canvas last
// showed it are repainted (everything, unless it lays the same pictures in the same places).
// The window's repaint that follows shows the record without raising the event again.
class CanvasWidget : public QWidget {
public:
    explicit CanvasWidget(Canvas* owner)
        : m_owner(owner)
    {
    }

    void detach() { m_owner = nullptr; }

    void requestFrame()
    {
        m_framePending = true;
        QWidget* window = this->window();
        if (window != m_watchedWindow) {
            if (m_watchedWindow)
                m_watchedWindow->removeEventFilter(this);
            window->installEventFilter(this);
            m_watchedWindow = window;
        }
        // Any dirty pixel has the window repaint; the frame adds what it changes when it is drawn.
        update(0, 0, 1, 1);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest || !m_framePending || watched != m_watchedWindow)
            return false;
        SystemEventScope scope;
        m_framePending = false;
        drawFrame();
        if (!m_watchedWindow)
            return true;
        // The window repaints now; any later paint raises the event again.
        m_frameDrawn = true;
        static_cast<QObject*>(m_watchedWindow.data())->event(event);
        m_frameDrawn = false;
        return true;
    }

    void paintEvent(QPaintEvent* event) override
    {
        SystemEventScope scope;
        if (!m_owner || !m_owner->handlesEvent(kCanvasPaintEvent))
            return;
        if (!m_frameDrawn)
            drawFrame();
        QPainter painter(this);
        m_painterTarget.bind(&painter);
        m_record.replay(m_painterTarget, painter, event->region());
        m_painterTarget.bind(nullptr);
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
    // Raises Paint into the record and asks for the repaint of what changed.
    void drawFrame()
    {
        if (!m_owner || !m_owner->handlesEvent(kCanvasPaintEvent))
            return;
        m_shown.swap(m_record);
        m_record.clear();
        if (!m_graphics)
            m_graphics = makeRef<Graphics>();
        m_graphics->bindTarget(&m_record);
        m_areas.assign(1, Rect { 0, 0, width(), height() });
        EventArguments arguments;
        arguments.graphics = m_graphics;
        arguments.areas = &m_areas;
        m_owner->deliverEvent(kCanvasPaintEvent, arguments);
        m_graphics->bindTarget(nullptr);

        const double ratio = devicePixelRatio();
        const QRect pixels(0, 0, static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
        // Qt paints what lies beneath only where the canvas is not wholly covered.
        setAttribute(Qt::WA_OpaquePaintEvent, m_record.opaquePixels(ratio).contains(pixels));
        const int bandCount = (pixels.height() + CanvasRecord::kBandRows - 1) / CanvasRecord::kBandRows;
        if (m_bands.height() != bandCount || m_bands.width() != pixels.width())
            m_bands.reset(pixels.width(), bandCount);
        m_bands.clear();
        // Asked for even when a paint is under way: it may be for something other than the
        // screen (a grab).
        if (!m_record.changesFrom(m_shown, ratio, m_bands)) {
            update();
        } else {
            // One rectangle round all of it: each more costs Qt allocations and the window
            // system a request, more than copying the pixels between them.
            QRect changed;
            for (int band = m_bands.top(); band < m_bands.bottom(); ++band) {
                const raster::Damage::Span* first = m_bands.rowBegin(band);
                const raster::Damage::Span* end = m_bands.rowEnd(band);
                if (first == end)
                    continue;
                changed |= QRect(first->from, band * CanvasRecord::kBandRows, (end - 1)->to - first->from, CanvasRecord::kBandRows);
            }
            if (!changed.isEmpty()) {
                const QRectF area(changed.x() / ratio, changed.y() / ratio, changed.width() / ratio, changed.height() / ratio);
                update(area.toAlignedRect() & rect());
            }
        }
        m_record.noteShown();
    }

    Canvas* m_owner;
    // The Paint event draws into the record, and the record is shown through the painter target.
    Ref<Graphics> m_graphics;
    PainterTarget m_painterTarget;
    CanvasRecord m_record;
    CanvasRecord m_shown;
    raster::Damage m_bands;
    std::vector<Rect> m_areas;
    QPointer<QWidget> m_watchedWindow;
    bool m_framePending = false;
    bool m_frameDrawn = false;
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

void Canvas::repaintWidget()
{
    static_cast<CanvasWidget*>(widget())->requestFrame();
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
