#include "AppTestSupport.h"

#include "application/Runtime.h"
#include "FlagSong.h"
#include "Menu.h"
#include "wAbout.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QImage>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

struct ItemRow {
    const char* parent;
    const char* name;
    const char* className;
    const char* text;
    const char* shortcut;
    bool autoEnabled;
};

// The menu bar's tree in order, each menu before its items.
const ItemRow kTree[] = {
    { "", "AdjustMenu", "MenuItem", "Adjust", "", true },
    { "AdjustMenu", "AdjustShowPanel", "MenuItem", "Show Panel", "", true },
    { "AdjustMenu", "AdjustHidePanel", "MenuItem", "Hide Panel", "", true },
    { "AdjustMenu", "AdjustStopAnimation", "MenuItem", "Stop Animation", "", false },
    { "AdjustMenu", "AdjustContinueAnimation", "MenuItem", "Continue Animation", "", false },
    // A separator is given no shortcut; the runtime reads that as the empty one.
    { "AdjustMenu", "UntitledSeparator", "MenuItem", "-", "", true },
    { "AdjustMenu", "AdjustMusicOn", "MenuItem", "Music On", "", true },
    { "AdjustMenu", "AdjustMusicOff", "MenuItem", "Music Off", "", true },
    { "AdjustMenu", "AdjustLoop", "MenuItem", "Loop", "", true },
    { "AdjustMenu", "AdjustVolInc", "MenuItem", "Volume +", "+", true },
    { "AdjustMenu", "AdjustVolDec", "MenuItem", "Volume -", "-", true },
    { "AdjustMenu", "UntitledItem", "MenuItem", "-", "", true },
    { "AdjustMenu", "FileQuit", "QuitMenuItem", "Exit", "Cmd+Q", true },
    { "", "AboutMenu", "MenuItem", "About", "", true },
    { "AboutMenu", "AboutThissoftware", "MenuItem", "This software", "", true },
    { "AboutMenu", "AboutVisitWebSite", "MenuItem", "Visit Web Site", "", true },
    { "AboutMenu", "AboutMailtoAuthor", "MenuItem", "Mail to Author", "", true },
};

void buildTheApplication()
{
    RuntimePerformInitializers(kApplicationInitializers);
    RuntimeSetExceptionHelper(&CallWithExceptionHandling);
    _EarlyStartup();
}

struct Placed {
    std::string parent;
    Ref<MenuItem> item;
};

// The bar's items as the tree holds them: each menu, then its items.
std::vector<Placed> walk(const Ref<MenuItem>& bar)
{
    std::vector<Placed> items;
    for (int64_t m = 0; m < bar->Count(); ++m) {
        Ref<MenuItem> menu = bar->Item(m);
        items.push_back({ "", menu });
        for (int64_t i = 0; i < menu->Count(); ++i)
            items.push_back({ menu->Name(), menu->Item(i) });
    }
    return items;
}

TEST(MenuBar, IsBuiltInOrderWithEachItemsClassTextShortcutAndFlags)
{
    buildTheApplication();
    Ref<MenuItem> bar = App()->MenuBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->classRecord().name, "Menu.Menu");

    const std::vector<Placed> items = walk(bar);
    ASSERT_EQ(items.size(), std::size(kTree));
    for (size_t i = 0; i < items.size(); ++i) {
        const ItemRow& row = kTree[i];
        const Ref<MenuItem>& item = items[i].item;
        SCOPED_TRACE(row.name);
        EXPECT_EQ(items[i].parent, row.parent);
        EXPECT_EQ(item->Name(), row.name);
        EXPECT_EQ(item->classRecord().name, row.className);
        EXPECT_EQ(item->Value(), row.text);
        EXPECT_EQ(item->Shortcut(), row.shortcut);
        EXPECT_EQ(item->AutoEnabled(), row.autoEnabled);
        EXPECT_TRUE(item->Visible()) << "every item is visible until launch hides some";
        EXPECT_EQ(item->action()->isSeparator(), std::string(row.text) == "-");
        EXPECT_EQ(bar->_Lookup(row.name), item) << "found by name at its depth";
    }
}

TEST(MenuBar, ItsAccessorsFindTheItemsInsideTheMenus)
{
    buildTheApplication();
    const std::pair<const char*, Ref<MenuItem> (*)()> accessors[] = {
        { "AdjustShowPanel", &AdjustShowPanel }, { "AdjustHidePanel", &AdjustHidePanel },
        { "AdjustStopAnimation", &AdjustStopAnimation }, { "AdjustContinueAnimation", &AdjustContinueAnimation },
        { "AdjustMusicOn", &AdjustMusicOn }, { "AdjustLoop", &AdjustLoop },
        { "AdjustVolInc", &AdjustVolInc }, { "AdjustVolDec", &AdjustVolDec },
    };
    Ref<MenuItem> adjust = Menu()->Child("AdjustMenu");
    for (const auto& [name, accessor] : accessors) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Menu()->Child(name)) << "the item is not a menu of the bar";
        EXPECT_EQ(accessor(), adjust->Child(name));
    }
}

TEST(MenuBar, IsOneBarSharedByTheApplicationAndTheFlagWindow)
{
    test::launchApplication();
    Ref<class Menu> bar = Menu();
    EXPECT_EQ(Menu(), bar) << "a second reference builds nothing";
    EXPECT_EQ(bar->Count(), 2);
    EXPECT_EQ(App()->MenuBar(), bar);
    EXPECT_EQ(wFlag()->MenuBar(), bar);
    EXPECT_EQ(wFlag()->AdjustVolDec(), AdjustVolDec());
    EXPECT_EQ(wFlag()->AdjustLoop(), AdjustLoop());

    // A change through one way in shows through the other.
    wFlag()->AdjustLoop()->Checked(true);
    EXPECT_TRUE(AdjustLoop()->Checked());
    EXPECT_TRUE(test::menuAction("AdjustLoop")->isChecked());
}

struct ShownItem {
    const char* text;
    QKeySequence keys;
    bool separator = false;
};

std::vector<std::string> textsOf(const QList<QAction*>& actions, bool visibleOnly)
{
    std::vector<std::string> texts;
    for (QAction* action : actions) {
        if (!visibleOnly || action->isVisible())
            texts.push_back(action->isSeparator() ? std::string("---") : action->text().toStdString());
    }
    return texts;
}

TEST(MenuBar, TheFlagWindowShowsAdjustAndAboutWithSeparatorsAndExitLast)
{
    test::launchApplication();
    auto* window = qobject_cast<QMainWindow*>(wFlag()->qtWidget());
    ASSERT_TRUE(window);
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isVisible());
    ASSERT_EQ(textsOf(bar->actions(), false), (std::vector<std::string> { "Adjust", "About" }));

    QMenu* adjust = bar->actions()[0]->menu();
    QMenu* about = bar->actions()[1]->menu();
    ASSERT_TRUE(adjust && about);

    const ShownItem adjustItems[] = {
        { "Show Panel", {} }, { "Hide Panel", {} }, { "Stop Animation", {} }, { "Continue Animation", {} },
        { "", {}, true }, { "Music On", {} }, { "Music Off", {} }, { "Loop", {} },
        { "Volume +", QKeySequence(Qt::Key_Plus) }, { "Volume -", QKeySequence(Qt::Key_Minus) },
        { "", {}, true }, { "Exit", QKeySequence(Qt::CTRL | Qt::Key_Q) },
    };
    const QList<QAction*> actions = adjust->actions();
    ASSERT_EQ(actions.size(), qsizetype(std::size(adjustItems)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const ShownItem& expected = adjustItems[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(actions[i]->isSeparator(), expected.separator);
        if (!expected.separator) {
            EXPECT_EQ(actions[i]->text().toStdString(), expected.text);
        }
        EXPECT_EQ(actions[i]->shortcut(), expected.keys);
    }

    // What launch leaves offered.
    EXPECT_EQ(textsOf(actions, true),
              (std::vector<std::string> { "Show Panel", "---", "Music Off", "Loop", "Volume +", "Volume -", "---", "Exit" }));
    EXPECT_EQ(textsOf(about->actions(), true),
              (std::vector<std::string> { "This software", "Visit Web Site", "Mail to Author" }));
}

// Which window has the keys when they are pressed.
using WindowOf = QWidget* (*)();

class MenuBarKeys : public testing::TestWithParam<std::pair<const char*, WindowOf>> { };

TEST_P(MenuBarKeys, ActOncePerPressInEveryWindow)
{
    test::launchApplication();
    QWidget* window = GetParam().second();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    const int64_t volume = wPanel()->VolumeSlider()->Value();
    QTest::keyClick(window, Qt::Key_Minus);
    EXPECT_EQ(wPanel()->VolumeSlider()->Value(), volume - 10) << "- is Volume -, once";
    QTest::keyClick(window, Qt::Key_Plus);
    EXPECT_EQ(wPanel()->VolumeSlider()->Value(), volume) << "+ is Volume +, once";

    EXPECT_FALSE(RuntimeQuitRequested());
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(RuntimeQuitRequested()) << "Ctrl+Q is Exit";
}

INSTANTIATE_TEST_SUITE_P(, MenuBarKeys,
    testing::Values(std::pair<const char*, WindowOf> { "Flag", [] { return wFlag()->qtWidget(); } },
                    std::pair<const char*, WindowOf> { "Panel", [] { return wPanel()->qtWidget(); } },
                    std::pair<const char*, WindowOf> { "About", [] { return wAbout()->qtWidget(); } }),
    [](const auto& info) { return std::string(info.param.first); });

// The Adjust menu as the user sees it, popped up under the bar.
QImage shownAdjustMenu(QMenu* adjust)
{
    if (!adjust->isVisible()) {
        adjust->popup(QPoint(0, 0));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(adjust));
    }
    return adjust->grab().toImage();
}

QAction* adjustMenuAction(QMenu* adjust, const char* name)
{
    for (QAction* action : adjust->actions()) {
        if (action->objectName() == QLatin1String(name))
            return action;
    }
    return nullptr;
}

QMenu* theAdjustMenu()
{
    auto* window = qobject_cast<QMainWindow*>(wFlag()->qtWidget());
    auto* bar = window ? qobject_cast<QMenuBar*>(window->menuWidget()) : nullptr;
    return bar && !bar->actions().isEmpty() ? bar->actions()[0]->menu() : nullptr;
}

TEST(MenuBar, ASeparatorIsDrawnAsAPlainLineAcrossItsRow)
{
    test::launchApplication();
    QMenu* adjust = theAdjustMenu();
    ASSERT_TRUE(adjust);
    const QImage menu = shownAdjustMenu(adjust);
    for (const char* name : { "UntitledSeparator", "UntitledItem" }) {
        SCOPED_TRACE(name);
        QAction* separator = adjustMenuAction(adjust, name);
        ASSERT_TRUE(separator);
        // Inside the menu's frame.
        const QRect row = adjust->actionGeometry(separator).adjusted(2, 0, -2, 0);
        ASSERT_FALSE(row.isEmpty());
        std::map<QRgb, int> counts;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left(); x <= row.right(); ++x)
                ++counts[menu.pixel(x, y)];
        }
        const QRgb background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
            return a.second < b.second;
        })->first;
        // Each row's ink as its first column, last column and count of pixels.
        struct Run {
            int left;
            int right;
            int count;
        };
        std::vector<Run> runs;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            Run run { row.right(), row.left(), 0 };
            for (int x = row.left(); x <= row.right(); ++x) {
                if (menu.pixel(x, y) != background) {
                    run = { std::min(run.left, x), std::max(run.right, x), run.count + 1 };
                }
            }
            if (run.count > 0)
                runs.push_back(run);
        }
        // A line: one or two rows of pixels, each one unbroken run across most of the row, the
        // runs over the same columns; a glyph beside it breaks that.
        ASSERT_GE(runs.size(), 1u);
        EXPECT_LE(runs.size(), 2u);
        for (const Run& run : runs) {
            EXPECT_EQ(run.count, run.right - run.left + 1) << "an unbroken run";
            EXPECT_GT(run.count, row.width() / 2);
            EXPECT_LE(std::abs(run.left - runs[0].left), 1);
            EXPECT_LE(std::abs(run.right - runs[0].right), 1);
        }
    }
}

TEST(MenuBar, LoopLooksTheSameUncheckedAtLaunchAndAfterBeingCheckedAndCleared)
{
    test::launchApplication();
    QMenu* adjust = theAdjustMenu();
    ASSERT_TRUE(adjust);
    QAction* loop = adjustMenuAction(adjust, "AdjustLoop");
    ASSERT_TRUE(loop);
    const QRect row = adjust->actionGeometry(loop);
    const QImage atLaunch = shownAdjustMenu(adjust).copy(row);

    ASSERT_TRUE(test::chooseMenuItem("AdjustLoop"));
    const QImage checked = shownAdjustMenu(adjust).copy(row);
    ASSERT_TRUE(test::chooseMenuItem("AdjustLoop"));
    const QImage cleared = shownAdjustMenu(adjust).copy(row);

    EXPECT_NE(checked, atLaunch) << "the check mark shows";
    EXPECT_EQ(cleared, atLaunch) << "one look for the unchecked item";
}

} // namespace
