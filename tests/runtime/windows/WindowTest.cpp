#include "WindowSpy.h"

#include "application/Runtime.h"
#include "menus/MenuItem.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <limits>
#include <thread>

namespace {

DesignRecord sliderDesign(const std::string& name)
{
    return DesignRecord({ { "Name", name }, { "Value", 2 }, { "MinimumValue", 0 }, { "MaximumValue", 10 } });
}

DesignRecord buttonDesign(const std::string& name, int64_t left, bool isDefault)
{
    return DesignRecord({ { "Name", name }, { "Left", left }, { "Top", 10 }, { "Width", 80 }, { "Height", 24 },
                          { "Caption", name }, { "Default", isDefault } });
}

// A built window of class W with the spy design: width x height, visible.
template<typename W = SpyWindow>
Ref<W> makeWindow(int64_t width = 400, int64_t height = 300, bool liveResize = true)
{
    Ref<W> window = makeRef<W>();
    window->onLayout = [=](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(width, height, 0, true, liveResize)); };
    window->Constructor();
    return window;
}

// Lets the window system's reports of showing a window arrive, then forgets the events so far.
void settle(SpyWindow& window)
{
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.qtWidget()));
    runFor(50);
    window.events.clear();
}

} // namespace

TEST(WindowConstruction, RaisesLayoutCreateControlsControlOpensThenOpenAndShows)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    bool foundWhileBuilding = false;
    window->onLayout = [&](SpyWindow& w) {
        foundWhileBuilding = RuntimeGetImplicitWindow("SpyWindow") == w.self<Window>();
        RuntimeMassPropertySetter(w, spyWindowDesign(300, 200));
        EXPECT_FALSE(w.qtWidget()->isVisible());
    };
    window->onCreateControls = [](SpyWindow& w) {
        w.addControl<Slider>("Speed", sliderDesign("Speed"), { kSliderOpenEvent });
        w.addControl<Label>("Caption", DesignRecord({ { "Value", "Speed" } }));
        w.addControl<Slider>("Size", sliderDesign("Size"), { kSliderOpenEvent });
    };
    window->Constructor();

    EXPECT_TRUE(foundWhileBuilding);
    EXPECT_EQ(window->events, (std::vector<std::string> { "Layout", "CreateControls", "Open Speed", "Open Size", "Open" }));
    EXPECT_TRUE(window->qtWidget()->isVisible());
    EXPECT_EQ(RuntimeGetImplicitWindow("SpyWindow"), window);
}

TEST(WindowConstruction, AFailingStepDropsTheWindowAndReachesTheCaller)
{
    WeakRef<Control> built;
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(300, 200)); };
    window->onCreateControls = [&](SpyWindow& w) {
        w.addControl<Slider>("Speed", sliderDesign("Speed"), { kSliderOpenEvent });
        built = w._ControlByName("Speed");
        Ref<Canvas> none;
        none->Width();
    };

    EXPECT_THROW(window->Constructor(), NilObjectException);
    EXPECT_EQ(RuntimeGetImplicitWindow("SpyWindow"), nullptr);
    EXPECT_FALSE(window->qtWidget()->isVisible());
    EXPECT_TRUE(built.expired());
    EXPECT_EQ(window->events, (std::vector<std::string> { "Layout", "CreateControls" }));
}

TEST(WindowDesign, GivesTheWindowItsSizeKindAndTitleWithoutAResizedEvent)
{
    Ref<SpyWindow> panel = makeRef<SpyWindow>();
    panel->onLayout = [](SpyWindow& w) {
        RuntimeMassPropertySetter(w, spyWindowDesign(222, 135, 3, false, false));
        RuntimeMassPropertySetter(w, DesignRecord({ { "MacProcID", 7 } }));
    };
    panel->Constructor();
    QWidget* widget = panel->qtWidget();

    EXPECT_EQ(panel->Width(), 222);
    EXPECT_EQ(panel->Height(), 135);
    EXPECT_EQ(widget->size(), QSize(222, 135));
    EXPECT_EQ(widget->minimumSize(), widget->maximumSize()) << "not resizeable";
    EXPECT_EQ(widget->windowTitle(), QString("Spy"));
    EXPECT_EQ(widget->windowType(), Qt::Tool);
    EXPECT_EQ(panel->MacProcId(), 7);
    EXPECT_EQ(qobject_cast<QMainWindow*>(widget)->menuWidget(), nullptr) << "a window without a bar shows none";
    runFor(200);
    EXPECT_EQ(panel->count("Resized"), 0);
}

TEST(WindowSize, FromCodeTakesEffectAtOnceWithinTheLimitsAndPostsOneResized)
{
    struct Case {
        int64_t width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        { 500, 320, 500, 320 },
        { 10, 10, 180, 120 },
        { 9000, 5000, 6000, 4000 },
    };
    for (const Case& c : cases) {
        Ref<SpyWindow> window = makeWindow();
        settle(*window);
        window->onOpen = nullptr;

        window->Width(c.width);
        window->Height(c.height);

        EXPECT_EQ(window->Width(), c.expectedWidth);
        EXPECT_EQ(window->Height(), c.expectedHeight);
        EXPECT_EQ(window->qtWidget()->size(), QSize(int(c.expectedWidth), int(c.expectedHeight)));
        EXPECT_EQ(window->count("Resized"), 0) << "delivered after the running code returns";
        EXPECT_TRUE(runUntil([&] { return window->count("Resized") > 0; }));
        runFor(300);
        EXPECT_EQ(window->events, std::vector<std::string> { "Resized" }) << c.width;
        window->Close();
    }
}

TEST(WindowSize, AnUnchangedSizeFromCodePostsNothing)
{
    Ref<SpyWindow> window = makeWindow(400, 300);
    settle(*window);
    window->Width(400);
    window->Height(300);
    runFor(300);
    EXPECT_TRUE(window->events.empty());
}

TEST(WindowSize, AWidthSetInOpenIsResizedAfterOpen)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(360, 240)); };
    window->onOpen = [](SpyWindow& w) { w.Width(720); };
    window->Constructor();
    EXPECT_EQ(window->Width(), 720);
    EXPECT_TRUE(runUntil([&] { return window->count("Resized") == 1; }));
    std::erase(window->events, "Activate");
    EXPECT_EQ(window->events, (std::vector<std::string> { "Layout", "CreateControls", "Open", "Resized" }));
}

TEST(WindowSize, AUserDragRaisesResizingAsItGoesAndOneResizedAtItsEnd)
{
    for (bool liveResize : { true, false }) {
        Ref<SpyWindow> window = makeWindow(400, 300, liveResize);
        settle(*window);
        QWidget* widget = window->qtWidget();
        for (int step = 1; step <= 4; ++step) {
            widget->resize(400 + 10 * step, 300 + 5 * step);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(window->Width(), 440);
        EXPECT_EQ(window->Height(), 320);
        EXPECT_EQ(window->count("Resized"), 0) << "the drag has not ended yet";
        EXPECT_EQ(window->count("Resizing"), liveResize ? 4 : 0);
        EXPECT_TRUE(runUntil([&] { return window->count("Resized") > 0; }));
        runFor(300);
        EXPECT_EQ(window->count("Resized"), 1);
        window->Close();
    }
}

TEST(WindowSize, LockedControlEdgesKeepTheirDistanceFromTheWindowsEdges)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(400, 300)); };
    window->onCreateControls = [](SpyWindow& w) {
        w.addControl<Canvas>("Stretched", DesignRecord({ { "Left", 10 }, { "Top", 10 }, { "Width", 100 }, { "Height", 50 },
                                                       { "LockLeft", true }, { "LockRight", true } }));
        w.addControl<Canvas>("Pinned", DesignRecord({ { "Left", 10 }, { "Top", 250 }, { "Width", 40 }, { "Height", 40 }, { "LockBottom", true } }));
        w.addControl<Canvas>("Loose", DesignRecord({ { "Left", 10 }, { "Top", 100 }, { "Width", 40 }, { "Height", 40 } }));
    };
    window->Constructor();
    settle(*window);

    window->qtWidget()->resize(460, 330);

    auto geometry = [&](const char* name) { return RuntimeCheckCast<Canvas>(window->_ControlByName(name))->widget()->geometry(); };
    EXPECT_EQ(geometry("Stretched"), QRect(10, 10, 160, 50));
    EXPECT_EQ(geometry("Pinned"), QRect(10, 280, 40, 40));
    EXPECT_EQ(geometry("Loose"), QRect(10, 100, 40, 40));
}

TEST(WindowSize, AMaximizeRaisesMaximizeAtTheMaximizedSizeThenOneResized)
{
    Ref<SpyWindow> window = makeWindow(400, 300);
    settle(*window);
    int64_t widthAtMaximize = 0;
    window->onMaximize = [&](SpyWindow& w) { widthAtMaximize = w.Width(); };

    window->qtWidget()->windowHandle()->showMaximized();

    EXPECT_TRUE(runUntil([&] { return window->count("Resized") > 0; }));
    runFor(300);
    EXPECT_EQ(widthAtMaximize, 1920);
    EXPECT_EQ(window->events, (std::vector<std::string> { "Maximize", "Resized" }));
}

TEST(WindowClose, TheCloseBoxRaisesCloseAndTheWindowStays)
{
    Ref<ClosingSpyWindow> window = makeWindow<ClosingSpyWindow>();
    settle(*window);

    window->qtWidget()->windowHandle()->close();

    EXPECT_EQ(window->events, std::vector<std::string> { "Close" });
    EXPECT_TRUE(window->qtWidget()->isVisible());
    EXPECT_EQ(RuntimeGetImplicitWindow("ClosingSpyWindow"), window);
}

TEST(WindowClose, WithoutACloseHandlerTheCloseBoxDiscardsTheWindow)
{
    WeakRef<Window> closed;
    QPointer<QWidget> widget;
    {
        Ref<SpyWindow> window = makeWindow();
        window->onCreateControls = nullptr;
        settle(*window);
        closed = window;
        widget = window->qtWidget();
    }
    widget->windowHandle()->close();

    EXPECT_TRUE(closed.expired()) << "released once nothing else holds it";
    EXPECT_EQ(RuntimeGetImplicitWindow("SpyWindow"), nullptr);
    EXPECT_TRUE(runUntil([&] { return widget.isNull(); }));
}

TEST(WindowClose, HideKeepsTheWindowOpenWithItsControls)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(300, 200)); };
    window->onCreateControls = [](SpyWindow& w) { w.addControl<Slider>("Speed", sliderDesign("Speed")); };
    window->Constructor();
    RuntimeCheckCast<Slider>(window->_ControlByName("Speed"))->Value(7);

    window->Hide();

    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(RuntimeGetImplicitWindow("SpyWindow"), window);
    EXPECT_EQ(RuntimeCheckCast<Slider>(window->_ControlByName("speed"))->Value(), 7);
    window->Show();
    EXPECT_TRUE(window->Visible());
}

TEST(WindowKeys, ReturnAndEnterPressTheDefaultButtonWhereverTheFocusIs)
{
    for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
        Ref<SpyWindow> window = makeRef<SpyWindow>();
        window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(300, 200)); };
        window->onCreateControls = [](SpyWindow& w) {
            w.addControl<PushButton>("Web", buttonDesign("Web", 10, false), { kActionEvent });
            w.addControl<PushButton>("OK", buttonDesign("OK", 120, true), { kActionEvent });
        };
        window->Constructor();
        settle(*window);
        QWidget* web = RuntimeCheckCast<PushButton>(window->_ControlByName("Web"))->widget();
        web->setFocus();

        QTest::keyClick(web, key);

        EXPECT_EQ(window->events, std::vector<std::string> { "Action OK" });
        window->Close();
    }
}

TEST(WindowPlace, LeftAndTopAreTheFramesScreenPosition)
{
    Ref<SpyWindow> window = makeWindow(400, 300);
    EXPECT_EQ(window->Left(), (1920 - 400) / 2) << "first shown centred on the main screen";
    window->Left(432);
    window->Top(288);
    EXPECT_EQ(window->qtWidget()->frameGeometry().topLeft(), QPoint(432, 288));
    EXPECT_EQ(window->Left(), 432);
    EXPECT_EQ(window->Top(), 288);
}

// A place at the ends of int64_t, also for a window hidden after it was framed, reaches Qt
// held to its widget limit, so no sum with the frame or a size can overflow.
TEST(WindowPlace, APlaceAtTheEndsIsHeldToQtsWidgetLimit)
{
    Ref<SpyWindow> window = makeWindow(400, 300);
    window->Hide();
    window->Left(std::numeric_limits<int64_t>::max());
    window->Top(std::numeric_limits<int64_t>::min());
    EXPECT_EQ(window->Left(), QWIDGETSIZE_MAX);
    EXPECT_EQ(window->Top(), -QWIDGETSIZE_MAX);
    window->Show();
    EXPECT_EQ(window->Left(), QWIDGETSIZE_MAX);
    EXPECT_EQ(window->Top(), -QWIDGETSIZE_MAX);
}

TEST(WindowMenuBar, SitsAboveTheContentOutsideWidthAndHeight)
{
    Ref<MenuBar> bar = makeRef<MenuBar>();
    Ref<MenuItem> menu = makeRef<MenuItem>();
    menu->Name("AdjustMenu");
    menu->Value("Adjust");
    bar->AddMenu(menu);
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [&](SpyWindow& w) {
        w.MenuBar(bar);
        RuntimeMassPropertySetter(w, spyWindowDesign(720, 480));
    };
    window->Constructor();
    settle(*window);

    auto* mainWindow = qobject_cast<QMainWindow*>(window->qtWidget());
    QWidget* menuWidget = mainWindow->menuWidget();
    ASSERT_NE(menuWidget, nullptr);
    EXPECT_TRUE(menuWidget->isVisible());
    EXPECT_GT(menuWidget->height(), 0);
    EXPECT_EQ(window->contentWidget()->geometry(), QRect(0, menuWidget->height(), 720, 480));
    EXPECT_EQ(window->Width(), 720);
    EXPECT_EQ(window->Height(), 480);
    EXPECT_EQ(window->MenuBar(), bar);
}

TEST(WindowActivation, ShowingAFloatingWindowDoesNotActivateItAClickDoes)
{
    Ref<SpyWindow> document = makeWindow(400, 300);
    settle(*document);
    ASSERT_TRUE(QTest::qWaitForWindowActive(document->qtWidget()));

    Ref<ClosingSpyWindow> floating = makeRef<ClosingSpyWindow>();
    floating->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(222, 135, 3, false, false)); };
    floating->Constructor();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(floating->qtWidget()));
    runFor(100);

    EXPECT_EQ(floating->count("Activate"), 0);
    EXPECT_EQ(QApplication::activeWindow(), document->qtWidget());
    EXPECT_EQ(floating->qtWidget()->windowHandle()->transientParent(), document->qtWidget()->windowHandle());

    floating->qtWidget()->activateWindow();
    EXPECT_TRUE(runUntil([&] { return floating->count("Activate") == 1; }));
}

TEST(WindowMouse, EnterAndExitFollowThePointer)
{
    Ref<SpyWindow> window = makeWindow(400, 300);
    settle(*window);
    QWindow* handle = window->qtWidget()->windowHandle();

    QEnterEvent enter(QPointF(50, 50), QPointF(50, 50), handle->mapToGlobal(QPointF(50, 50)));
    QCoreApplication::sendEvent(handle, &enter);
    EXPECT_TRUE(runUntil([&] { return window->count("MouseEnter") == 1; }));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(handle, &leave);
    EXPECT_TRUE(runUntil([&] { return window->count("MouseExit") == 1; }));
}

TEST(WindowEvents, AHandlerThatThrowsIsReportedAndTheLoopGoesOn)
{
    Ref<SpyWindow> window = makeWindow(400, 300);
    settle(*window);
    window->onMaximize = [](SpyWindow&) { throw OutOfBoundsException("from a handler"); };
    testing::internal::CaptureStderr();
    window->qtWidget()->windowHandle()->showMaximized();
    EXPECT_TRUE(runUntil([&] { return window->count("Resized") == 1; }));
    std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("OutOfBoundsException"), std::string::npos) << report;
}

TEST(WindowPaint, AnInvalidatedCanvasRepaintsItselfAndAnExposureRepaintsTheWindowToo)
{
    Ref<SpyWindow> window = makeRef<SpyWindow>();
    window->onLayout = [](SpyWindow& w) { RuntimeMassPropertySetter(w, spyWindowDesign(400, 300)); };
    window->onCreateControls = [](SpyWindow& w) {
        w.addControl<Canvas>("Ground", DesignRecord({ { "Name", "Ground" }, { "Width", 360 }, { "Height", 240 }, { "Transparent", true } }), { kCanvasPaintEvent });
    };
    window->Constructor();
    settle(*window);
    window->recordWindowPaints = true;

    RuntimeCheckCast<Canvas>(window->_ControlByName("Ground"))->Invalidate();
    EXPECT_TRUE(runUntil([&] { return window->count("Paint Ground") == 1; }));
    EXPECT_EQ(window->events, (std::vector<std::string> { "Paint Ground" }));

    // The window system asking for the content paints the window beneath the canvas first.
    window->events.clear();
    window->contentWidget()->update();
    EXPECT_TRUE(runUntil([&] { return window->count("Paint Ground") == 1; }));
    EXPECT_EQ(window->events, (std::vector<std::string> { "Paint window", "Paint Ground" }));
}

TEST(WindowThreads, WindowAndControlOperationsRefuseOtherThreads)
{
    Ref<SpyWindow> window = makeWindow(400, 300);
    bool refused = false;
    std::thread other([&] {
        try {
            window->Width(500);
        } catch (const ThreadAccessingUIException&) {
            refused = true;
        }
    });
    other.join();
    EXPECT_TRUE(refused);
    EXPECT_EQ(window->Width(), 400);
}
