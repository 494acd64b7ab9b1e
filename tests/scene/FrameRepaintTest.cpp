#include "FlagTestSupport.h"

#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

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
            int wrong = 0;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    wrong += shown.pixel(x, y) != frame.pixel(x, y);
            EXPECT_EQ(wrong, 0) << "tick " << tick;
        }
    }
}

} // namespace
