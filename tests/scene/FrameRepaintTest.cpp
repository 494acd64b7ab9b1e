#include "FlagTestSupport.h"

#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdint>

// A tick repaints on screen only the part of the flag it changes, and the screen then shows
// the frame whole.

namespace {

// The areas Qt repaints of a widget.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
            ++paints;
        }
        return false;
    }
};

// What the screen shows of the ground canvas, in device pixels.
QImage shownOnScreen(QWidget* ground)
{
    const QPoint corner = ground->mapTo(ground->window(), QPoint(0, 0));
    QWindow* window = ground->window()->windowHandle();
    return window->screen()->grabWindow(window->winId(), corner.x(), corner.y(), ground->width(), ground->height())
        .toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The pixels of the screen's picture that differ from the frame's.
int wrongPixels(const QImage& shown, const QImage& frame)
{
    int wrong = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            wrong += shown.pixel(x, y) != frame.pixel(x, y);
    return wrong;
}

int64_t areaOf(const QRegion& region)
{
    int64_t area = 0;
    for (const QRect& rectangle : region)
        area += int64_t(rectangle.width()) * rectangle.height();
    return area;
}

TEST(FrameRepaint, ATickRepaintsWhatItChangesAndTheScreenShowsTheWholeFrame)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    QWidget* ground = flag->cnvGround()->widget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(flag->qtWidget()));
    flag->TimerFlag()->Enabled(false);
    wPanel()->Hide();
    const double ratio = ground->devicePixelRatioF();

    for (bool glory : { false, true }) {
        SCOPED_TRACE(glory ? "glory" : "no glory");
        wPanel()->CheckBoxGlory()->Value(glory);
        for (int tick = 0; tick < 6; ++tick) {
            PaintSpy spy(ground);
            flag->TimerFlag_Action(flag->TimerFlag());
            ASSERT_TRUE(test::waitUntil([&] { return spy.paints > 0; }));
            // The first tick after the switch changes much of the flag; a later one with Glory off
            // only the sun (with Glory on the sectors' edges reach across the flag).
            if (!glory && tick > 0) {
                EXPECT_TRUE(QRect(0, 0, 360, 240).contains(spy.painted.boundingRect())) << "tick " << tick;
            }
            const QImage shown = shownOnScreen(ground);
            const QImage frame = flag->picBB->image().copy(0, 0, static_cast<int>(720 * ratio), static_cast<int>(480 * ratio));
            ASSERT_EQ(shown.size(), frame.size());
            EXPECT_EQ(wrongPixels(shown, frame), 0) << "tick " << tick;
        }
    }
}

TEST(FrameRepaint, At1890WithGloryATickRepaintsLittleOfTheGroundAndTheScreenShowsTheFrame)
{
    test::launchApplication();
    Ref<class wFlag> flag = wFlag();
    QWidget* ground = flag->cnvGround()->widget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(flag->qtWidget()));
    wPanel()->Hide();
    // As maximized on a 1920 x 1080 screen: the window 1030 high, the flag reaching below it.
    flag->ChangeSize(1890);
    flag->TimerFlag()->Enabled(false);
    // The window's Resized comes back as a ChangeSize of its own, which sets the timer going again.
    ASSERT_TRUE(test::waitUntil([&] { return flag->TimerFlag()->Enabled(); }));
    flag->TimerFlag()->Enabled(false);
    ASSERT_EQ(ground->width(), 1890);
    ASSERT_GT(flag->qtWidget()->height(), 1030);
    wPanel()->CheckBoxGlory()->Value(true);
    const double ratio = ground->devicePixelRatioF();
    // The flag reaches below the window; what shows of it is what counts.
    const QRect visible = ground->rect() & ground->parentWidget()->rect().translated(-ground->pos());
    ASSERT_FALSE(visible.isEmpty());

    for (int tick = 0; tick < 6; ++tick) {
        PaintSpy spy(ground);
        flag->TimerFlag_Action(flag->TimerFlag());
        ASSERT_TRUE(test::waitUntil([&] { return spy.paints > 0; }));
        // The twelve sector edges and the sun change about a twentieth of the ground, rectangles
        // round them a fifth. (The first tick after the switch changes much of the flag.)
        if (tick > 0) {
            EXPECT_LT(areaOf(spy.painted), int64_t(visible.width()) * visible.height() / 4)
                << "tick " << tick << ", " << spy.painted.rectCount() << " rectangles";
        }
        EXPECT_TRUE(ground->testAttribute(Qt::WA_OpaquePaintEvent)) << "what shows is all covered: nothing to paint beneath";
        const QImage shown = shownOnScreen(ground);
        const QRect pixels = QRectF(QPointF(visible.topLeft()) * ratio, QSizeF(visible.size()) * ratio).toAlignedRect();
        ASSERT_TRUE(QRect(QPoint(0, 0), shown.size()).contains(pixels));
        EXPECT_EQ(wrongPixels(shown.copy(pixels), flag->picBB->image().copy(pixels)), 0) << "tick " << tick;
    }
}

} // namespace
